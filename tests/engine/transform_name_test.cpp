// Tests of TransformName: the order of the steps and the options that arm them.
#include "engine/transform_name.h"

#include "engine/numbering_layout.h"
#include "engine/rules_test_support.h"
#include "lang/language_manager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace quorvane::engine {
namespace {

using test::escapedByte;
using Flag = bool RenameOptions::*;

/// The given capitalisation mode (capitals left alone by default) and only the given flags
/// on, besides KeepExtDot.
RenameOptions with(std::initializer_list<Flag> on, int mode = kCaseKeep)
{
    RenameOptions options;
    options.ComboBox1 = mode;
    options.CheckBox9 = options.CheckBox6 = options.CheckBox12 = false;
    for (const Flag flag : on)
        options.*flag = true;
    return options;
}

/// The program's default options (capitals optimised) with the given flags on as well.
RenameOptions defaultsWith(std::initializer_list<Flag> on = {})
{
    RenameOptions options;
    for (const Flag flag : on)
        options.*flag = true;
    return options;
}

LayoutElement element(LayoutKind kind)
{
    return { kind, {} };
}

LayoutElement literal(std::u32string text)
{
    return { LayoutKind::Literal, std::move(text) };
}

struct Case
{
    std::u32string entry;
    RenameOptions options;
    std::u32string expected;
};

void expectAll(const std::vector<Case>& cases, const RunState& state = {})
{
    for (const Case& c : cases) {
        std::int64_t counter = 1;
        EXPECT_EQ(TransformName(c.entry, 0, counter, c.options, state), c.expected)
            << "entry: " << testing::PrintToString(c.entry);
    }
}

constexpr Flag kAccents = &RenameOptions::HandleAccents;
constexpr Flag kUnderscores = &RenameOptions::CheckBox8;
constexpr Flag kDashes = &RenameOptions::CheckBox11;
constexpr Flag kCompact = &RenameOptions::CompactSpaces;
constexpr Flag kDos = &RenameOptions::dosnames1;
constexpr Flag kShort = &RenameOptions::Rinominainformato831;
constexpr Flag kNumber = &RenameOptions::NumerazioneFiles1;
constexpr Flag kUnnumber = &RenameOptions::EliminaNumerazioneFiles1;
constexpr Flag kDelete = &RenameOptions::EliminaSequenzaCaratteri1;
constexpr Flag kReplace = &RenameOptions::SostSeqCar1;

TEST(TransformName, CapitalisationModes)
{
    RenameOptions dashRule = defaultsWith();
    dashRule.CheckBox6 = false;
    expectAll({
        { U"MY_song - the BEST (live).MP3F", defaultsWith(), U"My_song - The Best (Live).mp3" },
        { U"MY_song - the BEST (live).MP3F", defaultsWith({ kUnderscores }),
            U"My Song - The Best (Live).mp3" },
        { U"artist-name - song titleF", dashRule, U"Artist-name - Song title" },
        { U"perchè no.mp3F", with({ kAccents }, kCaseUpper), U"PERCHE' NO.MP3" },
        { U"perchè no.mp3F", with({}, kCaseUpper), U"PERCHÈ NO.MP3" },
        { U"PERCHE' NO.mp3F", with({ kAccents }, kCaseLower), U"perchè no.mp3" },
        { U"PERCHE'.mp3F", with({ kAccents }, kCaseLower), U"perche'.mp3" },
        { U"MiXeD cAsE.TxtF", with({}), U"MiXeD cAsE.Txt" },
    });
}

TEST(TransformName, CaseModesChangeEveryLetterWithAOneToOneMapping)
{
    expectAll({
        { U"café müller.mp3F", with({}, kCaseUpper), U"CAFÉ MÜLLER.MP3" },
        { U"straße ǆ σ.txtF", with({}, kCaseUpper), U"STRAßE Ǆ Σ.TXT" },
        { U"ÀÉÎÕÜ ΑΘΗΝΑ.TXTF", with({}, kCaseLower), U"àéîõü αθηνα.txt" },
        { U"12 - édith piaf.mp3F", defaultsWith(), U"12 - Édith Piaf.mp3" },
        { U"22 ÑANDÚ.mp3F", defaultsWith(), U"22 Ñandú.mp3" },
        { U"москва (live).MP3F", defaultsWith(), U"Москва (Live).mp3" },
        // A letter without case is still the first letter, and a word's first letter.
        { U"23 日本語.MP3F", defaultsWith(), U"23 日本語.mp3" },
        { U"日本 édith.MP3F", defaultsWith(), U"日本 Édith.mp3" },
    });
}

TEST(TransformName, RemoveNumberingByMode)
{
    struct ModeCase
    {
        int mode;
        std::u32string entry, expected;
    };
    const std::vector<ModeCase> cases {
        { 0, U"01 - Intro.mp3F", U" - Intro.mp3" },
        { 1, U"01 - Intro.mp3F", U" - Intro.mp3" },
        { 2, U"01 - Intro.mp3F", U"Intro.mp3" },
        { 2, U"01- Intro.mp3F", U"Intro.mp3" },
        { 2, U"01 -Intro.mp3F", U"Intro.mp3" },
        { 2, U"01-Intro.mp3F", U"Intro.mp3" },
        { 2, U"01Intro.mp3F", U"Intro.mp3" },
        { 2, U"01 - a - - b.mp3F", U"a - b.mp3" },
        // The marker is no text a name can hold: letters of the name stay its own.
        { 2, U"01 - qjxwzk - b.mp3F", U"qjxwzk - b.mp3" },
        { 3, U"Intro - 01.mp3F", U"Intro.mp3" },
        { 3, U"Intro-01.mp3F", U"Intro.mp3" },
        { 3, U"Intro - 01F", U"Intro" },
        { 3, U"Intro  -  01.mp3F", U"Intro.mp3" },
        { 3, U"a - - b - 01.mp3F", U"a - b.mp3" },
    };
    for (const ModeCase& c : cases) {
        RunState state;
        state.NumDigits = 2;
        state.DelNumMode = c.mode;
        std::int64_t counter = 1;
        EXPECT_EQ(TransformName(c.entry, 0, counter, with({ kUnnumber }), state), c.expected)
            << testing::PrintToString(c.entry) << " mode " << c.mode;
    }
}

TEST(TransformName, RemoveNumberingDigitsAndNamelessResult)
{
    RunState state;
    state.NumDigits = 1;
    expectAll({ { U"song.mp3F", with({ kUnnumber }), U"song.mp" } }, state);
    state.NumDigits = 2;
    expectAll({ { U"01.mp3F", defaultsWith({ kUnnumber }), U"Senza Nome.mp3" },
                  { U"01.mp3F", with({ kUnnumber }), U"Senza nome.mp3" } },
        state);
}

TEST(TransformName, DotNamesGetThePrefixFromSequencesAndNumberingRemoval)
{
    RunState state;
    state.DeleteSeq = U"zzz";
    state.ReplaceFrom = U"zzz";
    state.ReplaceTo = U"y";
    expectAll(
        {
            { U".htaccessF", with({ kDelete }), U"Senza nome.htaccess" },
            { U".htaccessF", with({ kReplace }), U"Senza nome.htaccess" },
            { U".htaccessF", with({ kUnnumber }), U"Senza nome.htaccess" },
            // Other rules leave a dot name as it is.
            { U".htaccessF", defaultsWith({ kCompact, kDashes, kDos }), U".Htaccess" },
        },
        state);
}

TEST(TransformName, NoStepHidesAVisibleEntry)
{
    RunState state;
    state.NumLayout = { literal(U"") };
    expectAll(
        {
            { U"?.txtF", with({}), U"Senza nome.txt" },
            { U"   .txtF", with({ kShort }), U"Senza nome.txt" },
            { U"  .txtF", with({ kCompact }), U"Senza nome.txt" },
            { U"a.mp3F", with({ kNumber }), U"Senza nome.mp3" },
        },
        state);
}

TEST(TransformName, DeleteAndReplaceSequences)
{
    RunState state;
    state.DeleteSeq = U".";
    state.ReplaceFrom = U"a";
    state.ReplaceTo = U"b";
    RenameOptions deleteAllDots = with({ kDelete });
    deleteAllDots.KeepExtDot = false;
    expectAll(
        {
            { U"a.b.c.txtF", with({ kDelete }), U"abc.txt" },
            { U"a.b.c.txtF", deleteAllDots, U"abctxt" },
            { U"readmeF", with({ kDelete }), U"readme" },
            { U"Banana.txtF", with({ kReplace }), U"Bbnbnb.txt" },
            { U"a.a.txtF", with({ kDelete, kReplace }), U"bb.txt" },
            // No text of a name is taken for the marker of the two-pass replace.
            { U"qjxwzk a.txtF", with({ kReplace }), U"qjxwzk b.txt" },
            { U"QjXwZk.txtF", with({ kReplace }), U"QjXwZk.txt" },
        },
        state);
}

TEST(TransformName, StepsRunInOrder)
{
    RunState state;
    // Deleting comes before replacing: the "a" is gone before the "b" becomes one.
    state.DeleteSeq = U"a";
    state.ReplaceFrom = U"b";
    state.ReplaceTo = U"a";
    expectAll({ { U"abcF", with({ kDelete, kReplace }), U"ac" } }, state);
    // A replacement feeds the underscore step.
    state.ReplaceFrom = U"-";
    state.ReplaceTo = U"_";
    expectAll({ { U"a-b.txtF", with({ kReplace, kUnderscores }), U"a b.txt" } }, state);
    // Spaces made by underscores and dashes are compacted afterwards.
    expectAll({ { U"a__b-cF", with({ kUnderscores, kDashes, kCompact }), U"a b - c" } });
    // The 8.3 cut comes before the forbidden characters go.
    expectAll({ { U"a?b?c?d?e?f.txtF", with({ kShort }), U"abcd.txt" } });
}

TEST(TransformName, SpacingRules)
{
    expectAll({
        { U"  a   b .txt F", with({ kCompact }), U"a b.txt" },
        { U"-abc.txtF", with({ kDashes }), U" - abc.txt" },
        { U"abc-F", with({ kDashes }), U"abc - " },
        { U"a-bF", with({ kDashes }), U"a - b" },
        { U"a--bF", with({ kDashes }), U"a - - b" },
        { U"a - b -cF", with({ kDashes }), U"a - b - c" },
        { U"-F", with({ kDashes }), U" - " },
        { U"a_b__cF", with({ kUnderscores }), U"a b  c" },
    });
}

TEST(TransformName, ShortNamesAndForbiddenCharacters)
{
    expectAll({
        { U"My Long File.name.txtF", with({ kShort }), U"MyLongFi.txt" },
        { U"readme fileF", with({ kShort }), U"readmefi" },
        { U"Ab Cd.j p e gF", with({ kShort }), U"AbCd.j p" },
        { U"a+b,c;d=e[1].txtF", with({ kDos }), U"abcde1.txt" },
        { U"a+b,c;d=e[1].txtF", with({}), U"a+b,c;d=e[1].txt" },
        { U"what?.txtF", with({}), U"what.txt" },
    });
}

TEST(TransformName, NumberingCountsFilesOnly)
{
    const EntryList entries { U"a.mp3F", U"subD", U"b.mp3F" };
    const std::vector<std::pair<RenameOptions, std::vector<std::u32string>>> cases {
        { with({ kNumber }), { U"01 - a.mp3", U"sub", U"02 - b.mp3" } },
        { defaultsWith({ kNumber }), { U"01 - A.mp3", U"Sub", U"02 - B.mp3" } },
    };
    RunState state;
    state.NumLayout = { element(LayoutKind::Number), element(LayoutKind::Separator),
        element(LayoutKind::FileName) };
    for (const auto& [options, expected] : cases) {
        std::int64_t counter = 1;
        for (std::size_t i = 0; i < entries.size(); ++i)
            EXPECT_EQ(TransformName(entries[i], i, counter, options, state), expected[i]);
        EXPECT_EQ(counter, 3);
    }
}

TEST(TransformName, NumberingStartStepAndWidth)
{
    struct NumberCase
    {
        std::int32_t start, step;
        int digits;
        std::vector<std::u32string> expected;
    };
    const std::vector<NumberCase> cases {
        { 1, 1, 2, { U"01", U"02", U"03" } },
        { 0, 1, 3, { U"000", U"001", U"002" } },
        { 123, 1, 2, { U"123", U"124", U"125" } },
        { 1, 5, 2, { U"01", U"06", U"11" } },
        { 1, 0, 1, { U"1", U"1", U"1" } },
        { 1, -1, 2, { U"01", U"00", U"-1" } },
        { -5, 2, 3, { U"-05", U"-03", U"-01" } },
    };
    for (const NumberCase& c : cases) {
        RunState state;
        state.NumLayout = { element(LayoutKind::Number) };
        state.NumStart = c.start;
        state.NumStep = c.step;
        state.NumDigits = c.digits;
        std::int64_t counter = 1;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(TransformName(U"xF", i, counter, with({ kNumber }), state), c.expected[i])
                << "start " << c.start << " step " << c.step << " file " << i;
        }
    }
}

TEST(TransformName, NumberingSurvivesCounterExtremes)
{
    using Limits64 = std::numeric_limits<std::int64_t>;
    using Limits32 = std::numeric_limits<std::int32_t>;
    RunState state;
    state.NumLayout = { element(LayoutKind::Number) };
    state.NumStart = state.NumStep = Limits32::min();
    std::int64_t counter = Limits64::min() + 1;
    EXPECT_EQ(TransformName(U"xF", 0, counter, with({ kNumber }), state), U"-9223372036854775808");
    EXPECT_EQ(counter, Limits64::min());

    state.NumStart = state.NumStep = Limits32::max();
    counter = Limits64::max();
    EXPECT_EQ(TransformName(U"xF", 0, counter, with({ kNumber }), state), U"9223372036854775807");
    EXPECT_EQ(counter, Limits64::max());
}

TEST(TransformName, LayoutElementsKeepTheirMeaningAcrossLanguages)
{
    const LayoutElement number = element(LayoutKind::Number);
    const LayoutElement separator = element(LayoutKind::Separator);
    const LayoutElement fileName = element(LayoutKind::FileName);
    const LayoutElement space = element(LayoutKind::Space);

    RunState state;
    state.NumLayout = { literal(U"Track"), space, number, separator, fileName };
    expectAll({ { U"song.mp3F", with({ kNumber }), U"Track 01 - song.mp3" } }, state);
    state.NumLayout = { fileName, literal(U"_"), number, literal(U"Numerazione") };
    expectAll({ { U"readmeF", with({ kNumber }), U"readme_01Numerazione" } }, state);

    // A layout set under one language means the same after a switch to another, where the
    // words of the language in force name the elements.
    state.NumLayout = { number, separator, fileName };
    {
        test::ConstantTextOverride numberText("NUMERAZIONE", U"Number");
        test::ConstantTextOverride fileText("FILENAME", U"File name");
        expectAll({ { U"song.mp3F", with({ kNumber }), U"01 - song.mp3" } }, state);
        EXPECT_EQ(layoutElementNamed(U"Number"), number);
        EXPECT_EQ(layoutElementNamed(U"File name"), fileName);
        EXPECT_EQ(layoutElementNamed(U"Numerazione"), literal(U"Numerazione"));
        EXPECT_EQ(layoutElementText(number), U"Number");
        EXPECT_EQ(numberingExample(state.NumLayout, 3), U"NNN - File name.ext");
    }
    EXPECT_EQ(layoutElementNamed(U"Numerazione"), number);
    EXPECT_EQ(layoutElementNamed(U"Spazio"), space);
    EXPECT_EQ(layoutElementText(literal(U"Separatore")), U"Separatore");
    EXPECT_EQ(numberingExample(state.NumLayout, 2), U"NN - Filename.ext");
}

TEST(TransformName, ListRenameTakesTheNameAtThePosition)
{
    RunState state;
    state.TargetNames = { U"first track.mp3", U"second track.mp3" };
    for (const Flag list : { &RenameOptions::RinominadaFile1, &RenameOptions::RinominadaCDDB1 }) {
        const RenameOptions options = defaultsWith({ list });
        std::int64_t counter = 1;
        EXPECT_EQ(TransformName(U"Track.mp3F", 1, counter, options, state), U"Second Track.mp3");
        try {
            (void)TransformName(U"Last.mp3F", 2, counter, options, state);
            ADD_FAILURE() << "no error for a position beyond the list";
        } catch (const RunError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("Last.mp3"), std::string::npos) << message;
            EXPECT_NE(message.find('3'), std::string::npos) << message;
        }
    }
}

TEST(TransformName, AnEmptyResultKeepsTheOldName)
{
    RunState state;
    state.DeleteSeq = U"abc";
    state.NumDigits = 2;
    state.DelNumMode = 2;
    expectAll(
        {
            { U"ABCF", with({ kDelete }), U"ABC" },
            { U"2023D", with({ kUnnumber }), U"2023" },
            { U"   D", with({ kCompact }), U"   " },
            { U"???F", with({}), U"???" },
        },
        state);
}

TEST(TransformName, EscapedBytesAreLeftAloneAndOtherScriptsTakeTheirCase)
{
    const std::u32string e9 = escapedByte(0xE9);
    const std::u32string e8 = escapedByte(0xE8);
    const std::u32string other = U"ǆ α ж 中 \U0001F600";
    const std::u32string capitalised = U"ǅ Α Ж 中 \U0001F600";
    const std::u32string upper = U"Ǆ Α Ж 中 \U0001F600";
    // The real È and é are matched; the bytes that would be è and é in Windows-1252 are not.
    const std::u32string name = e9 + U"a_" + e8 + U"È xé " + other + U".t" + e9 + U"F";

    RunState state;
    state.DeleteSeq = U"é";
    state.ReplaceFrom = U"È";
    state.ReplaceTo = U"E";
    const auto all = { kAccents, kUnderscores, kCompact, kDos, kDelete, kReplace };
    expectAll(
        {
            { name, defaultsWith(all), e9 + U"A " + e8 + U"e X " + capitalised + U".t" + e9 },
            { name, with(all, kCaseUpper), e9 + U"A " + e8 + U"E X " + upper + U".T" + e9 },
            { name, with(all, kCaseLower), e9 + U"a " + e8 + U"e x " + other + U".t" + e9 },
        },
        state);
}

} // namespace
} // namespace quorvane::engine
