// The listing text: columns, long names, totals, blocks and the date column.
#include "engine/listing_builder.h"

#include "support/failing_file_system.h"
#include "support/temp_dir.h"

#include "platform/display_width.h"
#include "platform/name_codec.h"
#include "platform/posix_file_system.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

namespace quorvane::test {
namespace {

using engine::Alignment;
using engine::FitColumn;
using engine::GroupThousands;
using engine::ListingOptions;
using platform::LocalDateTime;

/// The formats of an Italian Windows: "07/12/2026" and "9.05.03".
class ItalianDates final : public engine::ListingDateFormat
{
public:
    [[nodiscard]] std::u32string shortDate(const LocalDateTime& t) const override
    {
        return two(t.day) + U"/" + two(t.month) + U"/" + number(t.year);
    }
    [[nodiscard]] std::u32string longTime(const LocalDateTime& t) const override
    {
        return number(t.hour) + U"." + two(t.minute) + U"." + two(t.second);
    }

private:
    static std::u32string number(int n)
    {
        const std::string digits = std::to_string(n);
        return { digits.begin(), digits.end() };
    }
    static std::u32string two(int n) { return (n < 10 ? U"0" : U"") + number(n); }
};

/// Gives the entry a last-write time read on the local clock, so the text does not depend
/// on the time zone the test runs in.
void setLocalMtime(const std::string& path, LocalDateTime t)
{
    std::tm tm = {};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    const timespec times[2] = { { std::mktime(&tm), 0 }, { std::mktime(&tm), 0 } };
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

std::string utf8(std::u32string_view text)
{
    return platform::toDisplayUtf8(text);
}

/// `name` padded to `width` characters.
std::string col(const std::string& name, std::size_t width = 57)
{
    return name + std::string(width - name.size(), ' ');
}

struct Listing
{
    std::vector<std::string> pieces;
    engine::ListingReport report;
    [[nodiscard]] std::string text() const
    {
        std::string all;
        for (const auto& piece : pieces)
            all += piece;
        return all;
    }
};

Listing list(const platform::FileSystem& fs, const std::string& dir, const ListingOptions& options,
    const std::u32string& mask = U"*.*")
{
    const ItalianDates dates;
    const platform::Collator collator("");
    Listing result;
    result.report = engine::writeListing(fs, { platform::decodeName(dir), mask }, options, dates,
        collator, [&](std::u32string_view piece) { result.pieces.push_back(utf8(piece)); });
    return result;
}

/// song.mp3 (4 567 890 bytes, archive), Alpha.txt (empty, read-only, written at midnight),
/// .hidden, the directories backup.old (holding inner.mp3) and .git (hidden: listed, not
/// entered).
class ListingTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tmp.file("song.mp3");
        std::filesystem::resize_file(tmp / "song.mp3", 4'567'890);
        ASSERT_TRUE(fs.setAttributes(tmp / "song.mp3", platform::kArchive).ok());
        setLocalMtime(tmp / "song.mp3", { 2026, 12, 7, 9, 5, 3 });
        tmp.file("Alpha.txt");
        setLocalMtime(tmp / "Alpha.txt", { 2026, 1, 15, 0, 0, 0 });
        ::chmod((tmp / "Alpha.txt").c_str(), 0444);
        tmp.file(".hidden", "twelve bytes");
        setLocalMtime(tmp / ".hidden", { 2026, 3, 4, 14, 30, 0 });
        tmp.file("backup.old/inner.mp3", "abc");
        setLocalMtime(tmp / "backup.old/inner.mp3", { 2025, 6, 1, 10, 20, 30 });
        setLocalMtime(tmp / "backup.old", { 2025, 6, 1, 10, 20, 30 });
        tmp.dir(".git");
        setLocalMtime(tmp / ".git", { 2024, 2, 29, 23, 59, 58 });
    }

    TempDir tmp;
    platform::PosixFileSystem fs;
};

TEST_F(ListingTree, DefaultOptionsGiveEveryColumnAndABlockPerDirectory)
{
    const Listing listing = list(fs, tmp.path(), ListingOptions {});
    const std::string root = tmp.path() + "/";
    const std::string expected = "Files contenuti nella Directory : " + root + "\r\n\r\n"
        + col(".git") + " < Directory >   29/02/2024 23.59.58   H\r\n" + col(".hidden")
        + "            12   04/03/2026 14.30.00   H\r\n" + col("Alpha.txt")
        + "             0   15/01/2026   R\r\n" + col("backup.old")
        + " < Directory >   01/06/2025 10.20.30\r\n" + col("song.mp3")
        + "     4.567.890   07/12/2026  9.05.03   A\r\n"
        + "\r\nTotale: 3 files e 2 sottodirectory\r\n\r\n\r\n\r\n"
        + "Files contenuti nella Directory : " + root + "backup.old/\r\n\r\n" + col("inner.mp3")
        + "             3   01/06/2025 10.20.30\r\n"
        + "\r\nTotale: 1 files e 0 sottodirectory\r\n\r\n\r\n\r\n";
    EXPECT_EQ(listing.text(), expected);
    // One piece per directory: a huge tree is never held whole.
    EXPECT_EQ(listing.pieces.size(), 2U);
    EXPECT_EQ(listing.report.blocks, 2U);
    EXPECT_FALSE(listing.report.failure);
}

TEST_F(ListingTree, OnlyTheNameColumnLeavesNoPaddingAndATitleComesFirst)
{
    ListingOptions options;
    options.PrintSizes = options.PrintDates = options.PrintAttributes = false;
    options.PrintSubdirs = options.PrintHeading = options.PrintTotals = false;
    options.PrintExtensions = false;
    options.PrintTitle = true;
    options.PrintTitleText = U"Archivio";
    const Listing listing = list(fs, tmp.path(), options);
    // Without extensions files lose theirs; a directory keeps its whole name.
    EXPECT_EQ(listing.text(),
        "Archivio\r\n\r\n.git\r\n.hidden\r\nAlpha\r\nbackup.old\r\nsong\r\n\r\n\r\n\r\n\r\n");
}

TEST_F(ListingTree, WithoutDirectoryNamesTheTotalsCountFilesAlone)
{
    ListingOptions options;
    options.PrintDirNames = false;
    options.PrintSubdirs = false;
    options.PrintDates = options.PrintAttributes = options.PrintSizes = false;
    EXPECT_EQ(list(fs, tmp.path(), options).text(),
        "Files contenuti nella Directory : " + tmp.path() + "/\r\n\r\n.hidden\r\nAlpha.txt\r\n"
            + "song.mp3\r\n\r\nTotale: 3 files\r\n\r\n\r\n\r\n");
}

TEST_F(ListingTree, ASubdirectoryWithoutMatchesGetsOnlyItsTotals)
{
    tmp.dir("backup.old/empty");
    ListingOptions options;
    options.PrintSizes = options.PrintDates = options.PrintAttributes = false;
    const Listing listing = list(fs, tmp.path(), options, U"*.MP3");
    const std::string root = tmp.path() + "/";
    EXPECT_EQ(listing.text(),
        "Files contenuti nella Directory : " + root + "\r\n\r\nsong.mp3\r\n"
            + "\r\nTotale: 1 files e 0 sottodirectory\r\n\r\n\r\n\r\n"
            + "Files contenuti nella Directory : " + root + "backup.old/\r\n\r\ninner.mp3\r\n"
            + "\r\nTotale: 1 files e 0 sottodirectory\r\n\r\n\r\n\r\n"
            + "\r\nTotale: 0 files e 0 sottodirectory\r\n\r\n\r\n\r\n");

    options.PrintTotals = false;
    const Listing bare = list(fs, tmp / "backup.old/empty", options, U"*.mp3");
    EXPECT_EQ(bare.text(), "\r\n\r\n\r\n\r\n");
}

TEST_F(ListingTree, ANameLongerThanItsColumnIsBrokenAndTheColumnsFollowTheRest)
{
    const std::string longName = std::string(57, 'x') + "tail.mp3";
    tmp.file(longName, "12345");
    setLocalMtime(tmp / longName, { 2026, 12, 7, 19, 5, 3 });
    ListingOptions options;
    options.PrintSubdirs = options.PrintHeading = options.PrintTotals = false;
    const std::string text = list(fs, tmp.path(), options, U"x*").text();
    EXPECT_EQ(text,
        std::string(57, 'x') + "       <---\r\n" + col("tail.mp3")
            + "             5   07/12/2026 19.05.03\r\n\r\n\r\n\r\n\r\n");
}

TEST(ListingBlocks, SubdirectoriesComeBreadthFirstAndHiddenOrLinkedOnesAreNotEntered)
{
    TempDir tmp;
    tmp.file("b/deep/d.txt");
    tmp.file("a/c.txt");
    tmp.file(".cache/x.txt");
    tmp.file("z/s.txt");
    platform::PosixFileSystem fs;
    ASSERT_TRUE(fs.setAttributes(tmp / "z", platform::kSystem).ok());
    std::filesystem::create_directory_symlink(tmp / "b", tmp / "link");
    ListingOptions options;
    options.PrintSizes = options.PrintDates = options.PrintAttributes = false;
    options.PrintTotals = false;
    const Listing listing = list(fs, tmp.path(), options);
    std::vector<std::string> headings;
    for (const std::string& piece : listing.pieces)
        headings.push_back(piece.substr(0, piece.find("\r\n")));
    const std::string h = "Files contenuti nella Directory : " + tmp.path() + "/";
    EXPECT_EQ(headings, (std::vector<std::string> { h, h + "a/", h + "b/", h + "b/deep/" }));
}

TEST(ListingBlocks, AnUnreadableDirectoryIsReportedNotListedAsEmpty)
{
    TempDir tmp;
    tmp.file("sub/a.txt");
    FailingFileSystem fs;
    fs.unreadable = { tmp.path() + "/" };
    const Listing top = list(fs, tmp.path(), ListingOptions {});
    ASSERT_TRUE(top.report.failure);
    EXPECT_EQ(top.report.failure->code, EACCES);
    EXPECT_TRUE(top.pieces.empty());

    // Below the top a directory that cannot be read reads as one without matches.
    fs.unreadable = { tmp.path() + "/sub/" };
    ListingOptions options;
    options.PrintTitle = true;
    const Listing sub = list(fs, tmp.path(), options);
    EXPECT_FALSE(sub.report.failure);
    ASSERT_EQ(sub.report.unreadable.size(), 1U);
    ASSERT_EQ(sub.pieces.size(), 3U);
    EXPECT_EQ(sub.pieces[2], "\r\nTotale: 0 files e 0 sottodirectory\r\n\r\n\r\n\r\n");
}

TEST(ListingBlocks, AControlCharacterInANameCannotBreakALine)
{
    TempDir tmp;
    tmp.file("two\nlines.txt");
    platform::PosixFileSystem fs;
    ListingOptions options;
    options.PrintSizes = options.PrintDates = options.PrintAttributes = false;
    options.PrintHeading = options.PrintTotals = false;
    EXPECT_EQ(list(fs, tmp.path(), options).text(), "two\xEF\xBF\xBDlines.txt\r\n\r\n\r\n\r\n\r\n");
}

TEST(ListingColumns, WideCharactersAccentsAndUndecodableBytesKeepTheColumnsInLine)
{
    TempDir tmp;
    const std::string wide = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt"; // three wide letters
    const std::string longWide = [] {
        std::string name;
        for (int i = 0; i < 50; ++i)
            name += "\xE6\xBC\xA2"; // 100 columns: broken across lines
        return name + ".txt";
    }();
    for (const std::string& name : { std::string("plain.txt"), wide, std::string("caf\xE9.txt"),
             std::string("cafe\xCC\x81.txt"), longWide })
        tmp.file(name, "12345");
    platform::PosixFileSystem fs;
    ListingOptions options;
    options.PrintDates = options.PrintAttributes = false;
    options.PrintHeading = options.PrintTotals = options.PrintSubdirs = false;
    const ItalianDates dates;
    const platform::Collator collator("");
    std::u32string text;
    (void)engine::writeListing(fs, { platform::decodeName(tmp.path()), U"*.*" }, options, dates,
        collator, [&](std::u32string_view piece) { text += piece; });

    // Every line with a size ends in the listing's last column; every broken piece ends
    // its continuation mark in one place.
    int sized = 0;
    int broken = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find(U"\r\n", start);
        const std::u32string_view line(text.data() + start, end - start);
        start = end + 2;
        if (line.empty())
            continue;
        if (line.ends_with(U"<---")) {
            ++broken;
            EXPECT_EQ(platform::displayWidth(line), 86U + 11U) << utf8(line);
        } else {
            ++sized;
            EXPECT_EQ(platform::displayWidth(line), 100U) << utf8(line);
        }
    }
    EXPECT_EQ(sized, 5);
    EXPECT_EQ(broken, 1);
}

struct FitCase
{
    std::u32string text;
    int width;
    Alignment alignment;
    std::u32string expected;
};

class FitColumnTable : public ::testing::TestWithParam<FitCase>
{
};

TEST_P(FitColumnTable, FitsOrBreaks)
{
    const FitCase& c = GetParam();
    EXPECT_EQ(utf8(FitColumn(c.text, c.width, c.alignment)), utf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Listing, FitColumnTable,
    ::testing::Values(FitCase { U"abc", 5, Alignment::Left, U"abc  " },
        FitCase { U"abc", 5, Alignment::Right, U"  abc" },
        FitCase { U"abcde", 5, Alignment::Right, U"abcde" },
        FitCase { U"", 3, Alignment::Right, U"   " },
        // Longer: the alignment no longer matters and the last piece is padded.
        FitCase { U"abcdefg", 5, Alignment::Right, U"abcde       <---\r\nfg   " },
        FitCase {
            U"abcdefghij", 5, Alignment::Left, U"abcde       <---\r\nfghij       <---\r\n     " },
        FitCase {
            U"\u00E0\u00E8\u00EC", 2, Alignment::Left, U"\u00E0\u00E8       <---\r\n\u00EC " },
        // Columns, not characters: a wide character takes two, and one that would straddle
        // the edge starts the next piece.
        FitCase { U"\u65E5\u672C", 5, Alignment::Right, U" \u65E5\u672C" },
        FitCase {
            U"\u65E5\u672C\u8A9E", 5, Alignment::Left, U"\u65E5\u672C        <---\r\n\u8A9E   " }));

TEST(GroupThousands, PutsADotBeforeEveryFullGroupOfThree)
{
    EXPECT_EQ(utf8(GroupThousands(0)), "0");
    EXPECT_EQ(utf8(GroupThousands(999)), "999");
    EXPECT_EQ(utf8(GroupThousands(1000)), "1.000");
    EXPECT_EQ(utf8(GroupThousands(1'234'567)), "1.234.567");
    EXPECT_EQ(utf8(GroupThousands(123'456)), "123.456");
    // Files of 4 GB and more keep their size.
    EXPECT_EQ(utf8(GroupThousands(5'000'000'000ULL)), "5.000.000.000");
}

TEST(ListingDates, OneDigitHoursLineUpAndMidnightShowsTheDateAlone)
{
    const ItalianDates italian;
    EXPECT_EQ(
        utf8(engine::dateColumnText(italian, { 2026, 12, 7, 9, 5, 3 })), "07/12/2026  9.05.03");
    EXPECT_EQ(
        utf8(engine::dateColumnText(italian, { 2026, 12, 7, 19, 5, 3 })), "07/12/2026 19.05.03");
    EXPECT_EQ(utf8(engine::dateColumnText(italian, { 2026, 12, 7, 0, 0, 0 })), "07/12/2026");
    EXPECT_EQ(
        utf8(engine::dateColumnText(italian, { 2026, 12, 7, 0, 0, 1 })), "07/12/2026  0.00.01");

    // The user's locale formats; "C" is the one every system has.
    const engine::LocaleListingDateFormat c("C");
    EXPECT_EQ(utf8(engine::dateColumnText(c, { 2026, 12, 7, 9, 5, 3 })), "12/07/26 09:05:03");
}

} // namespace
} // namespace quorvane::test
