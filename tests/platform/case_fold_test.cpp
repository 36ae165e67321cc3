// Letter case by Unicode's simple mappings, and the ASCII-only helpers.
#include "platform/case_fold.h"
#include "platform/name_codec.h"

#include <gtest/gtest.h>

using namespace quorvane::platform;

TEST(CaseFold, LettersOfEveryScriptFoldToTheirCapitals)
{
    const std::vector<std::pair<char32_t, char32_t>> pairs = {
        { U'a', U'A' },
        { U'z', U'Z' },
        { U'\u00E0', U'\u00C0' },
        { U'\u00E9', U'\u00C9' },
        { U'\u00FE', U'\u00DE' },
        { U'\u0161', U'\u0160' },
        { U'\u0153', U'\u0152' },
        { U'\u017E', U'\u017D' },
        { U'\u00FF', U'\u0178' },
        { U'\u0430', U'\u0410' },
        { U'\u03B1', U'\u0391' },
        { U'\u03C2', U'\u03A3' },
        { U'\u00B5', U'\u039C' },
    };
    for (const auto& [lower, upper] : pairs) {
        EXPECT_EQ(foldUpper(lower), upper) << std::hex << static_cast<unsigned>(lower);
        EXPECT_EQ(foldUpper(upper), upper) << std::hex << static_cast<unsigned>(upper);
    }
}

TEST(CaseFold, CharactersWithoutPairStayAsTheyAre)
{
    for (const char32_t c :
        { U'\u00D7', U'\u00F7', U'\u00DF', U'1', U'_', U'\u65E5', char32_t { 0xDCFF } })
        EXPECT_EQ(foldUpper(c), c) << std::hex << static_cast<unsigned>(c);
}

TEST(CaseFold, EqualityIgnoresOnlyLetterCase)
{
    EXPECT_TRUE(equalsIgnoreCase(U"\u00C0pple \u0160KODA \u0178", U"\u00E0PPLE \u0161koda \u00FF"));
    EXPECT_TRUE(equalsIgnoreCase(U"", U""));
    EXPECT_FALSE(equalsIgnoreCase(U"abc", U"abcd"));
    EXPECT_FALSE(equalsIgnoreCase(U"\u00D7", U"\u00F7"));
    EXPECT_FALSE(equalsIgnoreCase(U"a", U"\u00E0"));
}

TEST(CaseFold, NameBytesCompareAsTheirCodePoints)
{
    // The bytes overload takes a shortcut for ASCII; it must never answer otherwise than
    // the decoded names would.
    const char* names[] = { "", "a", "A", "abc", "ABD", "abcd", "caf\xC3\xA9", "CAF\xC3\x89",
        "caf\xE9", "CAF\xC9", "\xC3\xA0", "a\xFF", "A\xFF", "[", "{" };
    for (const char* a : names) {
        for (const char* b : names) {
            EXPECT_EQ(equalsIgnoreCase(std::string_view(a), std::string_view(b)),
                equalsIgnoreCase(decodeName(a), decodeName(b)))
                << a << " / " << b;
        }
    }
}

TEST(CaseFold, CaseChangesTouchAsciiOnly)
{
    EXPECT_EQ(asciiUpper(U'q'), U'Q');
    EXPECT_EQ(asciiLower(U'Q'), U'q');
    EXPECT_EQ(asciiUpper(U'\u00E0'), U'\u00E0');
    EXPECT_EQ(asciiLower(U'\u00C0'), U'\u00C0');
    EXPECT_EQ(asciiUpper(U'{'), U'{');
    EXPECT_EQ(asciiLower(U'@'), U'@');
}

TEST(CaseFold, MatchingIgnoresEveryCaseChangeOfTheRules)
{
    // A name that a case mode rewrote must still be found by the search it was found by.
    for (char32_t c = 0; c < 0x30000; ++c) {
        for (const char32_t changed : { letterUpper(c), letterLower(c), letterTitle(c) })
            ASSERT_EQ(foldUpper(c), foldUpper(changed)) << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_EQ(letterUpper(U'\u00E9'), U'\u00C9');
    EXPECT_EQ(letterLower(U'\u00D1'), U'\u00F1');
    EXPECT_EQ(letterTitle(U'\u01C6'), U'\u01C5');
    EXPECT_EQ(letterUpper(U'\u00DF'), U'\u00DF') << "no one-to-one capital";
    EXPECT_EQ(letterUpper(char32_t { 0xDCE9 }), char32_t { 0xDCE9 }) << "an escaped byte";
    EXPECT_TRUE(isLetter(U'\u65E5'));
    EXPECT_TRUE(isLetter(U'\u00E9'));
    EXPECT_FALSE(isLetter(U'1'));
    EXPECT_FALSE(isLetter(char32_t { 0xDCE9 }));
}
