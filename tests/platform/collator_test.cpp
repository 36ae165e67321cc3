// Locale-aware, case-insensitive ordering of names.
#include "platform/collator.h"

#include "platform/name_codec.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quorvane::platform;
using quorvane::test::ScopedEnv;

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

/// The texts in the order sortOrder gives them.
std::vector<std::u32string> sortedBy(const Collator& collator,
    const std::vector<std::u32string>& texts, std::size_t tieCharacters = 0)
{
    const std::vector<std::uint32_t> order = collator.sortOrder(
        texts.size(), [&](std::size_t i, std::u32string& text) { text = texts[i]; }, nullptr,
        tieCharacters);
    std::vector<std::u32string> sorted;
    sorted.reserve(order.size());
    for (const std::uint32_t i : order)
        sorted.push_back(texts[i]);
    return sorted;
}

} // namespace

TEST(Collator, LocaleNameFromTheEnvironment)
{
    struct Case
    {
        const char* lcAll;
        const char* lcCollate;
        const char* lang;
        std::string expected;
    };
    const Case cases[] = {
        { "it_IT.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "it_IT" },
        { nullptr, "de_DE@euro", "fr_FR.UTF-8", "de_DE" },
        { "", "", "sr_RS.UTF-8@latin", "sr_RS" },
        { nullptr, nullptr, "pt_BR", "pt_BR" },
        { "C.UTF-8", "it_IT.UTF-8", nullptr, "" },
        { "POSIX", nullptr, nullptr, "" },
        { "C", nullptr, nullptr, "" },
        { nullptr, nullptr, nullptr, "" },
    };
    for (const Case& c : cases) {
        const ScopedEnv all("LC_ALL", c.lcAll);
        const ScopedEnv collate("LC_COLLATE", c.lcCollate);
        const ScopedEnv lang("LANG", c.lang);
        EXPECT_EQ(userCollationLocale(), c.expected) << c.expected;
    }
}

TEST(Collator, IgnoresCaseButNotAccents)
{
    const Collator collator("");
    EXPECT_EQ(collator.compare(U"abc", U"ABC"), 0);
    EXPECT_EQ(collator.compare(U"\u00E0rea", U"\u00C0REA"), 0);
    EXPECT_NE(collator.compare(U"perche", U"perch\u00E9"), 0);
    EXPECT_LT(collator.compare(U"a", U"b"), 0);
    EXPECT_GT(collator.compare(U"B", U"a"), 0);
    EXPECT_EQ(collator.sortKey(U"abc"), collator.sortKey(U"ABC"));
    EXPECT_NE(collator.sortKey(U"perche"), collator.sortKey(U"perch\u00E9"));
}

TEST(Collator, DigitsByValueAndTieCharactersOnlyBreakTies)
{
    const Collator collator("");
    EXPECT_LT(collator.compare(U"Track2", U"track10"), 0);
    EXPECT_LT(collator.sortKey(U"Track2"), collator.sortKey(U"track10"));
    EXPECT_TRUE(collator.less(U"img_9", U"img_0010"));
    EXPECT_TRUE(collator.less(U"Track2", U"track02")) << "equal numbers go by code point";
    EXPECT_FALSE(collator.less(U"a", U"a"));

    // An entry's kind letter after its name: a directory "ab" (entry "abD") comes before a
    // file "abc" (entry "abcF"), and "Song" and "song" go by their kind first.
    const std::vector<std::u32string> entries { U"abcF", U"songF", U"Track10F", U"abD", U"SongD",
        U"Track1F" };
    EXPECT_EQ(sortedBy(collator, entries, 1),
        (std::vector<std::u32string> {
            U"abD", U"abcF", U"SongD", U"songF", U"Track1F", U"Track10F" }));
}

TEST(Collator, ItalianOrderPutsAccentedCapitalsAmongTheirLetters)
{
    const Collator collator("it");
    std::vector<std::u32string> words
        = { U"zeta", U"\u00C0ncora", U"Bari", U"albero", U"\u00E8lite", U"Elba", U"ancora" };
    std::ranges::sort(
        words, [&](const auto& a, const auto& b) { return collator.compare(a, b) < 0; });
    const std::vector<std::u32string> expected
        = { U"albero", U"ancora", U"\u00C0ncora", U"Bari", U"Elba", U"\u00E8lite", U"zeta" };
    EXPECT_EQ(words, expected);
}

TEST(Collator, SortKeysOrderAsCompare)
{
    const Collator collator("it_IT");
    const std::vector<std::u32string> words = { U"Song 10.mp3", U"song 2.mp3", U"SONG.mp3",
        U"\u00E9t\u00E9", U"ete", U"Zebra", U"_x", U"a\u00DF", U"ass", decodeName("a\xFF"),
        decodeName("a\xFE"), U"\U0001F3B5", U"", std::u32string(300, U'q') };
    for (const auto& a : words) {
        for (const auto& b : words) {
            const int byCompare = sign(collator.compare(a, b));
            const std::string keyA = collator.sortKey(a);
            const std::string keyB = collator.sortKey(b);
            const int byKey = sign(keyA.compare(keyB));
            EXPECT_EQ(byCompare, byKey) << encodeName(a) << " / " << encodeName(b);
        }
    }
}

TEST(Collator, EscapedBytesKeepNamesApart)
{
    const Collator collator("");
    const std::u32string a = decodeName("x\xFF");
    const std::u32string b = decodeName("x\xFE");
    EXPECT_NE(collator.compare(a, b), 0);
    EXPECT_EQ(collator.compare(a, a), 0);
    EXPECT_NE(collator.sortKey(a), collator.sortKey(b));
}

TEST(Collator, UnknownLocaleStillCollates)
{
    const Collator collator("xx_YY");
    EXPECT_EQ(collator.compare(U"abc", U"ABC"), 0);
    EXPECT_LT(collator.compare(U"abc", U"abd"), 0);
}

TEST(Collator, SortOrderBreaksTiesByCodePointAndStopsWhenCancelled)
{
    const Collator collator("");
    // Given in an order that is neither sorted nor reversed, with a case-only tie whose
    // code-point order is the opposite of its position.
    const std::vector<std::u32string> texts { U"song.mp3", U"b", U"Song.mp3", U"a", U"\u00E0" };
    const auto textAt = [&](std::size_t i, std::u32string& text) { text = texts[i]; };
    const std::vector<std::u32string> sorted = sortedBy(collator, texts);
    EXPECT_EQ(
        sorted, (std::vector<std::u32string> { U"a", U"\u00E0", U"b", U"Song.mp3", U"song.mp3" }));

    const std::atomic<bool> cancelled = true;
    EXPECT_TRUE(collator.sortOrder(texts.size(), textAt, &cancelled).empty());
}

TEST(Collator, LongListsSortExactlyAsOneByOneComparison)
{
    // Names share a long start, some are the start of others, some differ only in letter case or
    // accent, some carry escaped bytes or characters outside the basic plane: every way the fast
    // comparison could cut a corner. The reference is the plain comparison, one pair at a time.
    const Collator collator("it_IT");
    const std::vector<std::u32string> stems { U"IMG_2024_", U"img_2024_", U"Img_2024_\u00E8",
        U"Artist - Album - ", U"artist - album", U"\U0001F3B5 ", U"x" };
    std::vector<std::u32string> texts;
    std::uint32_t seed = 12345;
    const auto next = [&] { return seed = seed * 1103515245U + 12345U; };
    for (int i = 0; i < 9000; ++i) {
        std::u32string text = stems[next() % stems.size()];
        for (std::uint32_t digits = next() % 4; digits > 0; --digits)
            text += static_cast<char32_t>(U'0' + next() % 10);
        if (next() % 50 == 0)
            text += decodeName("\xFF");
        texts.push_back(text);
    }
    const std::vector<std::u32string> sorted = sortedBy(collator, texts);

    std::vector<std::u32string> expected = texts;
    std::ranges::sort(expected, [&](const std::u32string& a, const std::u32string& b) {
        const int byCollation = collator.compare(a, b);
        return byCollation != 0 ? byCollation < 0 : a < b;
    });
    EXPECT_EQ(sorted, expected);

    // With a kind letter after every text, which only breaks ties.
    std::vector<std::u32string> entries;
    entries.reserve(texts.size());
    for (const std::u32string& text : texts)
        entries.push_back(text + (next() % 2 == 0 ? U'D' : U'F'));
    std::vector<std::u32string> expectedEntries = entries;
    std::ranges::sort(expectedEntries, [&](const std::u32string& a, const std::u32string& b) {
        const std::u32string_view nameA(a.data(), a.size() - 1);
        const std::u32string_view nameB(b.data(), b.size() - 1);
        if (const int byCollation = collator.compare(nameA, nameB); byCollation != 0)
            return byCollation < 0;
        return a.back() != b.back() ? a.back() < b.back() : a < b;
    });
    EXPECT_EQ(sortedBy(collator, entries, 1), expectedEntries);
}
