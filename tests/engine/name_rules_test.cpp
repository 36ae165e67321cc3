// Tests of the single name rules: splitting, padding, forbidden characters, sequences,
// digit runs, blanks, capitals and accented letters.
#include "engine/name_rules.h"

#include "engine/rules_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace quorvane::engine {
namespace {

using test::escapedByte;

struct NameCase
{
    std::u32string input;
    std::u32string expected;
};

TEST(SplitExt, SplitsAtTheLastDotUnlessItIsTheFirstCharacter)
{
    struct Case
    {
        std::u32string name, base, ext;
    };
    const std::vector<Case> cases {
        { U"song.mp3", U"song", U"mp3" },
        { U"a.b.c", U"a.b", U"c" },
        { U".profile", U".profile", U"" },
        { U"..x", U".", U"x" },
        { U"name.", U"name", U"" },
        { U"readme", U"readme", U"" },
        { U"", U"", U"" },
    };
    for (const Case& c : cases) {
        const SplitName parts = SplitExt(c.name);
        EXPECT_EQ(parts.base, c.base) << "name: " << testing::PrintToString(c.name);
        EXPECT_EQ(parts.ext, c.ext) << "name: " << testing::PrintToString(c.name);
    }
}

TEST(Addzero, PadsWithZerosToTheWidthWithoutCutting)
{
    struct Case
    {
        std::int64_t value;
        int width;
        std::u32string expected;
    };
    const std::vector<Case> cases {
        { 7, 3, U"007" },
        { 0, 3, U"000" },
        { 123, 2, U"123" },
        { 42, 2, U"42" },
        { 5, 0, U"5" },
        { 5, -4, U"5" },
        // The sign stays in front of the zeros.
        { -7, 3, U"-07" },
        { -123, 2, U"-123" },
        { std::numeric_limits<std::int64_t>::min(), 1, U"-9223372036854775808" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Addzero(c.value, c.width), c.expected) << c.value << " width " << c.width;
}

TEST(Check_Char_Vietati, RemovesTheStandardSetOrTheDosSet)
{
    struct Case
    {
        std::u32string input;
        bool dosNames;
        std::u32string expected;
    };
    const std::u32string escaped = escapedByte(0xE9);
    const std::vector<Case> cases {
        { U"what?.txt", false, U"what.txt" },
        { U"a\"b*c/d:e<f>g?h\\i|j", false, U"abcdefghij" },
        { U"a+b,c;d=e[1].txt", false, U"a+b,c;d=e[1].txt" },
        { U"a+b,c;d=e[1].txt", true, U"abcde1.txt" },
        { U"a\"b*c/d:e<f>g?h\\i|j", true, U"abcdefghij" },
        // Control characters, accented letters and everything beyond stay.
        { U"\u0001tab\tà\u007F\u00FF\u4E2D", true, U"\u0001tab\tà\u007F\u00FF\u4E2D" },
        { U"x" + escaped + U"?", true, U"x" + escaped },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Check_Char_Vietati(c.input, c.dosNames), c.expected)
            << testing::PrintToString(c.input) << " dos " << c.dosNames;
    }
}

TEST(NamelessRule, PrefixesNamesThatStartWithADot)
{
    EXPECT_EQ(applyNamelessRule(U".htaccess"), U"Senza nome.htaccess");
    EXPECT_EQ(applyNamelessRule(U"a.b"), U"a.b");
    EXPECT_EQ(applyNamelessRule(U""), U"");
}

TEST(NamelessRule, UsesTheTextInForceAtEachCall)
{
    {
        test::ConstantTextOverride english("SENZA_NOME", U"Untitled");
        EXPECT_EQ(applyNamelessRule(U".x"), U"Untitled.x");
        EXPECT_EQ(RemoveNumbering(U"1.x", 1, false), U"Untitled.x");
    }
    EXPECT_EQ(applyNamelessRule(U".x"), U"Senza nome.x");
}

TEST(ReplaceSequence, ReplacesLeftToRightIgnoringCase)
{
    struct Case
    {
        std::u32string name, search, replacement;
        bool keepExtDot;
        std::u32string expected;
    };
    const std::u32string e9 = escapedByte(0xE9);
    const std::vector<Case> cases {
        { U"a.b.c.txt", U".", U"", true, U"abc.txt" },
        { U"a.b.c.txt", U".", U"", false, U"abctxt" },
        { U"readme", U".", U"", true, U"readme" },
        { U"a.b.c.txt", U".", U"_", true, U"a_b_c.txt" },
        // Only the exact search text "." spares the extension.
        { U"a..b.txt", U"..", U"", true, U"ab.txt" },
        { U"x.txt", U"x.", U"", true, U"txt" },
        // Non-overlapping, and replaced text is not looked at again.
        { U"aaa", U"aa", U"b", true, U"ba" },
        { U"aaaa", U"aa", U"a", true, U"aa" },
        { U"banana", U"a", U"aa", true, U"baanaanaa" },
        { U"ABC abc", U"b", U"x", true, U"AxC axc" },
        // Letters of every script pair up as the case modes change them.
        { U"PERCHÈ perchè", U"è", U"e", true, U"PERCHe perche" },
        { U"Œuvre œuvre", U"œ", U"oe", true, U"oeuvre oeuvre" },
        { U"ŸŠŽ", U"ÿšž", U"-", true, U"-" },
        { U"ǄǅǆΑα", U"ǆ", U"", true, U"Αα" },
        { U"Αα", U"α", U"", true, U"" },
        { U"Москва МОСКВА", U"москва", U"x", true, U"x x" },
        { U"ΟΔΟΣ οδος", U"σ", U"", true, U"ΟΔΟ οδο" },
        // Only one-to-one mappings: ß is no "ss".
        { U"Straße STRASSE", U"ss", U"s", true, U"Straße STRAsE" },
        // An escaped byte is not the letter it would be in another encoding.
        { U"caf" + e9 + U" café", U"É", U"e", true, U"caf" + e9 + U" cafe" },
        { U"caf" + e9, U"caf" + e9, U"x", true, U"x" },
        // An empty search text finds nothing.
        { U"a.b", U"", U"x", true, U"a.b" },
        { U"", U"a", U"b", true, U"" },
        { U"ab", U"abc", U"x", true, U"ab" },
        // The nameless rule applies to every result.
        { U".htaccess", U"zzz", U"y", true, U"Senza nome.htaccess" },
        { U".htaccess", U"", U"", true, U"Senza nome.htaccess" },
        { U"a.txt", U"A", U"", true, U"Senza nome.txt" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReplaceSequence(c.name, c.search, c.replacement, c.keepExtDot), c.expected)
            << testing::PrintToString(c.name) << " search " << testing::PrintToString(c.search);
    }
}

TEST(RemoveNumbering, DeletesRunsOfAtLeastTheMinimumLength)
{
    struct Case
    {
        std::u32string name;
        int numDigits;
        bool leadingOnly;
        std::u32string expected;
    };
    const std::vector<Case> cases {
        { U"01 - Intro.mp3", 2, false, U" - Intro.mp3" },
        { U"Intro - 01.mp3", 2, false, U"Intro - .mp3" },
        { U"song.mp3", 1, false, U"song.mp" },
        { U"song.mp3", 2, false, U"song.mp3" },
        { U"track 007 and 12.mp3", 3, false, U"track  and 12.mp3" },
        { U"01.mp3", 2, false, U"Senza nome.mp3" },
        { U"2023", 2, false, U"" },
        // Only the ASCII digits count.
        { U"\uFF11\uFF12\u0661\u0662", 1, false, U"\uFF11\uFF12\u0661\u0662" },
        // A width below one acts as one.
        { U"a1b22", 0, false, U"ab" },
        { U"a1b22", -3, false, U"ab" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RemoveNumbering(c.name, c.numDigits, c.leadingOnly), c.expected)
            << testing::PrintToString(c.name) << " digits " << c.numDigits;
    }
}

TEST(RemoveNumbering, SkipsShortRunAndTheCharacterAfterIt)
{
    struct Case
    {
        std::u32string name;
        int numDigits;
        bool leadingOnly;
        std::u32string expected;
    };
    const std::vector<Case> cases {
        // The "a" after the short run is never examined, so leading-only does not stop there.
        { U"1a22b", 2, true, U"1ab" },
        { U"1a22b33", 2, true, U"1ab33" },
        { U"1a22b33", 2, false, U"1ab" },
        // Two characters after a short run are examined again.
        { U"1ab22", 2, true, U"1ab22" },
        { U"1ab22", 2, false, U"1ab" },
        // After a deleted run the scan goes on at the character that followed it.
        { U"12ab34", 2, true, U"ab34" },
        { U"1234 56", 2, true, U" 56" },
        { U"x12", 2, true, U"x12" },
        { U"1", 2, true, U"1" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RemoveNumbering(c.name, c.numDigits, c.leadingOnly), c.expected)
            << testing::PrintToString(c.name) << " leading only " << c.leadingOnly;
    }
}

TEST(CompactBlanks, TrimsAndShrinksRunsOfSpaces)
{
    const std::vector<NameCase> cases {
        { U"  a   b .txt ", U"a b.txt" },
        { U"\t\u0001a b\n\u0020", U"a b" },
        { U"a  .b", U"a.b" },
        { U"a . b", U"a. b" },
        { U"   ", U"" },
        { U"", U"" },
        // Only the space is compacted inside; other blanks and NBSP stay.
        { U"a\t\tb", U"a\t\tb" },
        { U"\u00A0a \u00A0", U"\u00A0a \u00A0" },
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(CompactBlanks(c.input), c.expected) << testing::PrintToString(c.input);
}

TEST(CapitaliseWords, CapitalsAfterSpacesAndBrackets)
{
    const RenameOptions options; // CheckBox9, CheckBox6 and CheckBox12 on
    const std::u32string e9 = escapedByte(0xE9);
    const std::vector<NameCase> cases {
        { U"my_song - the best (live).mp3", U"My_song - The Best (Live).mp3" },
        { U"01 - song", U"01 - Song" },
        { U"èlite", U"Èlite" },
        { U"a [b] (c)d", U"A [B] (C)d" },
        { U"x-y z", U"X-y Z" },
        { U"a è b", U"A È B" },
        { e9 + U"a " + e9 + U"b", e9 + U"A " + e9 + U"b" },
        { U"", U"" },
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(CapitaliseWords(c.input, options), c.expected) << testing::PrintToString(c.input);
}

TEST(CapitaliseWords, DashRuleCapitalisesTheWordAfterADashAndASpace)
{
    RenameOptions options;
    options.CheckBox6 = false;
    const std::vector<NameCase> cases {
        { U"artist-name - song title", U"Artist-name - Song title" },
        { U"a (b) [c] d", U"A (B) [C] d" },
        // A dash followed by a dash: the first space after the second one counts.
        { U"x - - y z", U"X - - Y z" },
        { U"-a b", U"-A B" },
        { U"a- b- c", U"A- B- C" },
        { U"a - (b c", U"A - (B c" },
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(CapitaliseWords(c.input, options), c.expected) << testing::PrintToString(c.input);
}

TEST(CapitaliseWords, EachCheckBoxAlone)
{
    struct Case
    {
        bool first, afterSpace, afterDash;
        std::u32string input, expected;
    };
    const std::vector<Case> cases {
        { true, false, false, U"hello - world (x)", U"Hello - world (x)" },
        { false, true, false, U"hello - world (x)", U"hello - World (X)" },
        { false, false, true, U"hello - world (x)", U"hello - World (X)" },
        { false, false, true, U"hello world", U"hello world" },
        { false, false, false, U"hello - world (x)", U"hello - world (x)" },
    };
    for (const Case& c : cases) {
        RenameOptions options;
        options.CheckBox9 = c.first;
        options.CheckBox6 = c.afterSpace;
        options.CheckBox12 = c.afterDash;
        EXPECT_EQ(CapitaliseWords(c.input, options), c.expected) << testing::PrintToString(c.input);
    }
}

TEST(ConvertAccents, VowelAndApostropheBecomeTheAccentedLetter)
{
    const std::vector<NameCase> cases {
        { U"perche' no", U"perchè no" },
        { U"a' e' i' o' u' x", U"à è ì ò ù x" },
        { U"(piu')", U"(più)" },
        { U"piu')", U"più)" },
        // Left alone: at the end, before the extension's dot, at position 1, after a
        // consonant or an upper-case vowel, before another character.
        { U"perche'", U"perche'" },
        { U"perche'.mp3", U"perche'.mp3" },
        { U"' a", U"' a" },
        { U"x' y", U"x' y" },
        { U"E' vero", U"E' vero" },
        { U"l'amico", U"l'amico" },
        { U"e'' x", U"e'' x" },
        { U"", U"" },
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(ConvertAccents(c.input, AccentDirection::ToAccented, true), c.expected)
            << testing::PrintToString(c.input);
        EXPECT_EQ(ConvertAccents(c.input, AccentDirection::ToAccented, false), c.input);
    }
}

TEST(ConvertAccents, AccentedLettersBecomeVowelAndApostrophe)
{
    const std::vector<NameCase> cases {
        { U"àèéìòù", U"a'e'e'i'o'u'" },
        { U"perchè no", U"perche' no" },
        // Upper-case and the other acute forms stay; so do escaped bytes.
        { U"ÀÈÉáíóú", U"ÀÈÉáíóú" },
        { escapedByte(0xE8) + escapedByte(0xE0), escapedByte(0xE8) + escapedByte(0xE0) },
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(ConvertAccents(c.input, AccentDirection::ToApostrophe, true), c.expected)
            << testing::PrintToString(c.input);
        EXPECT_EQ(ConvertAccents(c.input, AccentDirection::ToApostrophe, false), c.input);
    }
}

TEST(ReplaceAt, DeletesAndInsertsAtAOneBasedPosition)
{
    struct Case
    {
        std::u32string text;
        std::size_t position, count;
        std::u32string name, expected;
    };
    const std::vector<Case> cases {
        { U"X", 2, 1, U"abc", U"aXc" },
        { U"XY", 1, 0, U"abc", U"XYabc" },
        { U"", 3, 5, U"abc", U"ab" },
        { U"Z", 4, 0, U"abc", U"abcZ" },
        { U"Z", 10, 1, U"abc", U"abcZ" },
        { U"Z", 0, 1, U"abc", U"Zbc" },
        { U"Z", 1, 1, U"", U"Z" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReplaceAt(c.text, c.position, c.count, c.name), c.expected)
            << testing::PrintToString(c.name) << " at " << c.position;
    }
}

} // namespace
} // namespace quorvane::engine
