// Tests of formatText: placeholders, widths and patterns that must not break it.
#include "lang/text_format.h"

#include <gtest/gtest.h>

#include <limits>

using quorvane::lang::formatText;

TEST(TextFormat, FillsPlaceholdersInOrder)
{
    EXPECT_EQ(
        formatText(U"%s - Ultima operazione: %d files rinominati in %d minuti e %d,%3s secondi",
            { U"Quorvane 0.99", 12, 0, 1, U"042" }),
        U"Quorvane 0.99 - Ultima operazione: 12 files rinominati in 0 minuti e 1,042 secondi");
    EXPECT_EQ(formatText(U"Errore: file %s \u00E8 in uso", { U"a\u00E8.txt" }),
        U"Errore: file a\u00E8.txt \u00E8 in uso");
    EXPECT_EQ(formatText(U"%d|%d", { -5, std::numeric_limits<std::int64_t>::min() }),
        U"-5|-9223372036854775808");
}

TEST(TextFormat, WidthPadsWithBlanksOnEitherSide)
{
    struct Case
    {
        std::u32string_view pattern;
        std::u32string_view expected;
    };
    const Case cases[] = {
        { U"[%3s]", U"[  7]" },
        { U"[%-3s]", U"[7  ]" },
        { U"[%3d]", U"[  7]" },
        { U"[%1s]", U"[7]" },
        { U"[%-s]", U"[7]" },
        { U"[%03s]", U"[  7]" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatText(c.pattern, { U"7" }), c.expected);
    EXPECT_EQ(formatText(U"[%3s]", { U"\u00E8" }), U"[  \u00E8]") << "width counts characters";
    EXPECT_EQ(formatText(U"[%2s]", { U"long" }), U"[long]") << "never truncates";
}

TEST(TextFormat, BadPatternsAreCopiedNotFailed)
{
    struct Case
    {
        std::u32string_view pattern;
        std::u32string_view expected;
    };
    // Each pattern gets one argument, "A".
    const Case cases[] = {
        { U"100%% %s", U"100% A" },
        { U"%s %s", U"A %s" },
        { U"%s %3d %-2s", U"A %3d %-2s" },
        { U"%x %s", U"%x A" },
        { U"end %", U"end %" },
        { U"%-", U"%-" },
        { U"%5", U"%5" },
        { U"%%s", U"%s" },
        { U"", U"" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatText(c.pattern, { U"A" }), c.expected);
    EXPECT_EQ(formatText(U"%s", { U"A", U"unused" }), U"A");
    EXPECT_EQ(formatText(U"%s/%d", { 42, U"x" }), U"42/x");
    // A width a language file could use to exhaust memory is bounded.
    EXPECT_LT(formatText(U"%99999999999999999999s", { U"A" }).size(), 100000U);
}
