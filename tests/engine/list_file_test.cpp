// Names from a list file and their pairing with a directory's files.
#include "engine/list_file.h"

#include <gtest/gtest.h>

namespace quorvane::engine {
namespace {

TEST(ListFile, NonEmptyLinesUntrimmedWithEitherLineEnd)
{
    EXPECT_EQ(
        readListLines("Intro\r\n\r\nOutro"), (std::vector<std::u32string> { U"Intro", U"Outro" }));
    EXPECT_EQ(readListLines(" a \n\nb\n"), (std::vector<std::u32string> { U" a ", U"b" }));
    EXPECT_EQ(readListLines("a\rb\n"), std::vector<std::u32string> { U"a\rb" });
    EXPECT_TRUE(readListLines("").empty());
}

TEST(ListFile, CtrlZEndsTheFile)
{
    EXPECT_EQ(readListLines("one\r\ntwo\x1A\r\nthree\r\n"),
        (std::vector<std::u32string> { U"one", U"two" }));
}

TEST(ListFile, Utf8WithBomOrWindows1252)
{
    EXPECT_EQ(
        readListLines("\xEF\xBB\xBFperch\xC3\xA8\n"), std::vector<std::u32string> { U"perchè" });
    EXPECT_EQ(readListLines("perch\xE8\r\n\x80uro"),
        (std::vector<std::u32string> { U"perchè", U"€uro" }));
}

TEST(ListFile, AlignmentKeepsExtensionsAndFillsMissingNamesWithTheBase)
{
    const EntryList files { U"track01.mp3F", U"b.mp3F", U"c.oggF",
        U"README"
        U"F" };
    const std::vector<std::u32string> lines { U"Intro", U"Intro.ogg", U"x", U"y", U"surplus" };
    EXPECT_EQ(alignTargetNames(files, lines, true),
        (std::vector<std::u32string> { U"Intro.mp3", U"Intro.ogg.mp3", U"x.ogg", U"y" }));
    EXPECT_EQ(alignTargetNames(files, { U"Intro" }, true),
        (std::vector<std::u32string> { U"Intro.mp3", U"b.mp3", U"c.ogg", U"README" }));
    EXPECT_EQ(alignTargetNames(files, { U"Intro" }, false),
        (std::vector<std::u32string> { U"Intro", U"b", U"c", U"README" }));
}

} // namespace
} // namespace quorvane::engine
