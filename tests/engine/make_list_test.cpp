// Which entries a pass takes, and in what order.
#include "run_fixture.h"

#include <sys/xattr.h>

#include <cerrno>

namespace quorvane::test {
namespace {

using List = engine::EntryList;

TEST_F(RunFixture, ListSortsByTheNameAsTheFileListShowsIt)
{
    tmp.dir("ab");
    tmp.file("abc");
    tmp.file("Abd.txt");
    tmp.file("abb.txt");
    for (const char* name : { "Track10", "Track1", "track2", "Track11", "Track02b" })
        tmp.file(name);
    // The kind letter takes no part: the directory "ab" comes before the file "abc", and
    // "Track1" before "Track10". Digits compare by value, letters without case.
    EXPECT_EQ(listOf(),
        (List { U"abD", U"abb.txtF", U"abcF", U"Abd.txtF", U"Track1F", U"track2F", U"Track02bF",
            U"Track10F", U"Track11F" }));

    // A run numbers the files in that order; the directory takes no number.
    options.NumerazioneFiles1 = true;
    options.ComboBox1 = engine::kCaseKeep;
    state.NumLayout = { { engine::LayoutKind::Number, {} }, { engine::LayoutKind::Literal, U"_" },
        { engine::LayoutKind::FileName, {} } };
    click();
    EXPECT_EQ(namesIn(),
        (std::vector<std::string> { "01_abb.txt", "02_abc", "03_Abd.txt", "04_Track1", "05_track2",
            "06_Track02b", "07_Track10", "08_Track11", "ab" }));
}

TEST_F(RunFixture, ListSkipsDotEntriesAndNeverFollowsLinks)
{
    tmp.file(".git/config");
    tmp.file("real/inner.txt");
    tmp.file(".hidden-file");
    std::filesystem::create_directory_symlink(tmp / "real", tmp / "link");
    scope.recursive = true;

    // Dot-files are configuration looked up by exact name: only a selection takes them.
    EXPECT_EQ(listOf(), (List { U"linkF", U"realD" }));

    click();
    EXPECT_TRUE(tmp.exists(".git/config"));
    EXPECT_TRUE(tmp.exists(".hidden-file"));
    EXPECT_TRUE(tmp.exists("Link")); // the link itself is renamed, as an entry
    EXPECT_TRUE(tmp.exists("Real/Inner.txt"));
    EXPECT_EQ(std::filesystem::read_symlink(tmp / "Link"), tmp / "real");
}

TEST_F(RunFixture, ListSkipsDirectoriesWithTheSystemAttribute)
{
    tmp.dir("system");
    tmp.dir("plain");
    if (::setxattr((tmp / "system").c_str(), "user.DOSATTRIB", "0x4", 3, 0) != 0)
        GTEST_SKIP() << "no user extended attributes here";
    EXPECT_EQ(listOf(), List { U"plainD" });
}

TEST_F(RunFixture, ListHonoursMaskScopeBoxesAndSelection)
{
    tmp.file("a.MP3");
    tmp.file("b.txt");
    tmp.file("sub/c.mp3");
    scope.mask = U"*.mp3";
    EXPECT_EQ(listOf(), (List { U"a.MP3F", U"subD" }));

    scope.renameDirectories = false;
    EXPECT_EQ(listOf(), List { U"a.MP3F" });

    scope.directoriesOnly = true;
    scope.renameDirectories = true;
    EXPECT_EQ(listOf(), List { U"subD" });

    scope.directoriesOnly = false;
    scope.selection = { U"b.txt", U"a.MP3" };
    EXPECT_EQ(listOf(), (List { U"subD", U"b.txtF", U"a.MP3F" })); // no sort, no mask
    // The selection belongs to the run's own directory; a subdirectory pass uses the mask.
    EXPECT_EQ(listOf("sub"), List { U"c.mp3F" });
}

TEST_F(RunFixture, UnreadableDirectoryIsReportedNotFatal)
{
    tmp.file("locked/x.txt");
    tmp.file("y.txt");
    fs.unreadable.push_back(tmp / "locked/");
    scope.recursive = true;
    const auto report = click();
    ASSERT_EQ(report.unreadable.size(), 1U);
    EXPECT_EQ(report.unreadable[0].code, EACCES);
    EXPECT_TRUE(tmp.exists("Y.txt"));
    EXPECT_TRUE(tmp.exists("Locked/x.txt")); // its own entry is still renamed
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_EQ(prompts.messages[0].id, "RUN_UNREADABLE");
}

} // namespace
} // namespace quorvane::test
