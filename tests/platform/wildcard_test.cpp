// Enumeration masks against names.
#include "platform/wildcard.h"

#include "platform/name_codec.h"

#include <gtest/gtest.h>

using namespace quorvane::platform;

TEST(Wildcard, MaskTable)
{
    struct Case
    {
        std::u32string_view name;
        std::u32string_view mask;
        bool matches;
    };
    const Case cases[] = {
        { U"song.mp3", U"*.mp3", true },
        { U"SONG.MP3", U"*.mp3", true },
        { U"song.mp3.bak", U"*.mp3", false },
        { U"mp3", U"*.mp3", false },
        { U".mp3", U"*.mp3", true },
        { U"readme", U"*.*", true },
        { U"a.b.c", U"*.*", true },
        { U".hidden", U"*.*", true },
        { U"readme", U"*", true },
        { U"readme", U"readme.*", true },
        { U"readme.txt", U"readme.*", true },
        { U"readmes", U"readme.*", false },
        { U"a", U"?", true },
        { U"", U"?", false },
        { U"ab", U"?", false },
        { U"track01.wav", U"track??.wav", true },
        { U"track1.wav", U"track??.wav", false },
        { U"\u00C0rea.txt", U"\u00E0*", true },
        { U"\u0178es", U"\u00FF??", true },
        { U"\u00D7", U"\u00F7", false },
        { U"abcabcabd", U"*abc*abd", true },
        { U"abcabcab", U"*abc*abd", false },
        { U"x", U"**x**", true },
        { U"song.wav", U"*.mp3;*.wav", true },
        { U"song.wav", U"*.mp3 ; *.WAV ", true },
        { U"song.ogg", U"*.mp3;*.wav", false },
        { U"song.ogg", U"*.mp3;", false },
        { U"song.ogg", U"", false },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matchesMask(c.name, c.mask), c.matches)
            << encodeName(c.name) << " ~ " << encodeName(c.mask);
    }
}

TEST(Wildcard, MasksTakingEveryNameAreKnownAsSuch)
{
    // A run skips matching for these masks, so the answer must agree with matching.
    const std::u32string names[] = { U"song.mp3", U"README", U".hidden", U"a.b.c", U"" };
    for (const std::u32string_view mask : { U"*", U"*.*", U"**", U" *.* ", U"*.mp3;*.*" }) {
        EXPECT_TRUE(matchesEveryName(mask)) << encodeName(mask);
        for (const std::u32string& name : names)
            EXPECT_TRUE(matchesMask(name, mask)) << encodeName(name) << " ~ " << encodeName(mask);
    }
    for (const std::u32string_view mask : { U"", U".*", U"*.mp3", U"*.", U"?*", U"*.*x" })
        EXPECT_FALSE(matchesEveryName(mask)) << encodeName(mask);
}

TEST(Wildcard, ManyStarsStayFast)
{
    // Exponential backtracking would take ages on this; the greedy matcher does it at once.
    const std::u32string name(5000, U'a');
    const std::u32string mask = U"*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b";
    EXPECT_FALSE(matchesMask(name, mask));
    EXPECT_TRUE(matchesMask(name + U'b', mask));
}
