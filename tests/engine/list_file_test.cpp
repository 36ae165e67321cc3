// Names from a list file and their pairing with a directory's files.
#include "engine/list_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

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

ListFileNames readNames(const std::string& bytes, std::size_t maxNames)
{
    std::istringstream in(bytes);
    return readListNames(in, maxNames);
}

TEST(ListFile, StreamedNamesAreTheLinesOfTheWholeFile)
{
    // A CR LF whose CR ends the first 64 KiB buffer must still be one line end.
    std::string straddling = "xxxxxxx\r\n";
    for (int i = 0; i < 8200; ++i)
        straddling += "abcdef\r\n";
    ASSERT_EQ(straddling.substr(65535, 2), "\r\n");

    for (const std::string& bytes : { std::string("Intro\r\n\r\nOutro"), std::string(" a \n\nb\n"),
             std::string("a\r\nlast\r"), std::string("one\r\ntwo\x1A\r\nthree\r\n"),
             std::string("\xEF\xBB\xBF\r\nperch\xC3\xA8\n"), std::string("perch\xE8\r\n\x80uro"),
             std::string("\xEF\xBB\xBF"
                         "bad \xE8"),
             straddling }) {
        const ListFileNames read = readNames(bytes, 100000);
        EXPECT_TRUE(read.refusal.empty()) << read.refusal;
        EXPECT_EQ(read.names, readListLines(bytes)) << bytes.substr(0, 20);
    }
}

TEST(ListFile, StreamingStopsAtTheNamesNeededWhichAloneDecideTheEncoding)
{
    std::string big = "a\n\nb\n";
    while (big.size() < std::size_t { 8 } * 1024 * 1024)
        big += "\x1B[31mnever read\n";
    std::istringstream in(big);
    const ListFileNames two = readListNames(in, 2);
    EXPECT_TRUE(two.refusal.empty()) << two.refusal;
    EXPECT_EQ(two.names, (std::vector<std::u32string> { U"a", U"b" }));
    EXPECT_LT(static_cast<std::size_t>(in.tellg()), big.size() / 2);

    const std::string mixed = "caf\xC3\xA9\nperch\xE8\n";
    EXPECT_EQ(readNames(mixed, 1).names, std::vector<std::u32string> { U"café" });
    EXPECT_EQ(readNames(mixed, 2).names, (std::vector<std::u32string> { U"cafÃ©", U"perchè" }));

    EXPECT_TRUE(readNames("x\n", 0).names.empty());
    EXPECT_TRUE(readNames("x\n", 0).refusal.empty());
    // No name is no fault of the file: what an empty list means is its reader's decision.
    for (const std::string bytes : { "", "\r\n\n\r\n",
             "\x1A"
             "a\n" }) {
        EXPECT_TRUE(readNames(bytes, 5).names.empty());
        EXPECT_TRUE(readNames(bytes, 5).refusal.empty()) << readNames(bytes, 5).refusal;
    }
}

/// A stream whose reading fails, as a file on a failing disk does.
class FailingBuffer : public std::streambuf
{
protected:
    int_type underflow() override { throw std::runtime_error("I/O error"); }
};

TEST(ListFile, FilesThatCannotGiveNamesAreRefusedWithTheReason)
{
    const std::string longLine(kMaxListLineBytes + 1, 'x');
    const std::vector<std::pair<std::string, std::string>> refused {
        { std::string("x\0y", 3), "line 1 holds the control byte 0x00" },
        { "a\n\nb\tc\n", "line 3 holds the control byte 0x09" },
        { "a\nb\x7F", "line 2 holds the control byte 0x7F" },
        { "\xEF\xBB\xBF\x1B[2J\n", "line 1 holds the control byte 0x1B" },
        { "ok\n" + longLine + "\n", "line 2 is longer than 4096 bytes" },
        // A CR that ends no line would join the names around it into one.
        { "Intro\rOutro\rThird\r", "line 1 holds the control byte 0x0D" },
        { "a\r\nb\rc\r\n", "line 2 holds the control byte 0x0D" },
        // A leading dot would hide the file: later runs would leave it alone.
        { "a\n\n.hidden\n", "line 3 begins with \".\"" },
        { "..\r\n", "line 1 begins with \".\"" },
    };
    for (const auto& [bytes, reason] : refused) {
        const ListFileNames read = readNames(bytes, 5);
        EXPECT_NE(read.refusal.find(reason), std::string::npos)
            << bytes.substr(0, 10) << ": " << read.refusal;
        EXPECT_TRUE(read.names.empty());
    }
    EXPECT_TRUE(readNames(longLine.substr(1) + "\r\n", 1).refusal.empty()) << "the limit itself";

    FailingBuffer failing;
    std::istream in(&failing);
    EXPECT_FALSE(readListNames(in, 1).refusal.empty());
}

TEST(ListFile, AlignmentKeepsExtensionsAndLeavesFilesWithoutANameAsTheyAre)
{
    const EntryList files { U"track01.mp3F", U"b.mp3F", U"c.oggF",
        U"README"
        U"F" };
    const std::vector<std::u32string> lines { U"Intro", U"Intro.ogg", U"x", U"y", U"surplus" };
    EXPECT_EQ(alignTargetNames(files, lines, true),
        (std::vector<std::u32string> { U"Intro.mp3", U"Intro.ogg.mp3", U"x.ogg", U"y" }));
    EXPECT_EQ(alignTargetNames(files, { U"Intro" }, true),
        (std::vector<std::u32string> { U"Intro.mp3", U"b.mp3", U"c.ogg", U"README" }));
    // Without the kept extension too: a file that got no name keeps its whole name.
    EXPECT_EQ(alignTargetNames(files, { U"Intro" }, false),
        (std::vector<std::u32string> { U"Intro", U"b.mp3", U"c.ogg", U"README" }));
    EXPECT_EQ(alignTargetNames(files, { U"Intro", U"", U"x" }, false),
        (std::vector<std::u32string> { U"Intro", U"b.mp3", U"x", U"README" }));
}

} // namespace
} // namespace quorvane::engine
