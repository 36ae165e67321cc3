// Renames that never replace anything, by renameat2 and by the emulation without it.
#include "platform/name_codec.h"
#include "platform/posix_file_system.h"
#include "platform/posix_rename.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include <climits>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane::platform;
using quorvane::test::exists;
using quorvane::test::namesIn;
using quorvane::test::readFile;
using quorvane::test::TempDir;
using quorvane::test::writeFile;

namespace {

ino_t inodeOf(const std::string& path)
{
    struct stat info = {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_ino;
}

class RenameTest : public testing::TestWithParam<RenameMethod>
{
protected:
    [[nodiscard]] static Status rename(const std::string& from, const std::string& to)
    {
        return renameNoReplace(from, to, GetParam());
    }
    TempDir dir;
};

} // namespace

TEST_P(RenameTest, RenamesFilesAndKeepsTheirContents)
{
    writeFile(dir / "old.mp3", "tune");
    const ino_t inode = inodeOf(dir / "old.mp3");
    ASSERT_TRUE(rename(dir / "old.mp3", dir / "New.mp3").ok());
    EXPECT_FALSE(exists(dir / "old.mp3"));
    EXPECT_EQ(readFile(dir / "New.mp3"), "tune");
    EXPECT_EQ(inodeOf(dir / "New.mp3"), inode);
    const std::string odd = dir / "x\xFF\xC0.mp3";
    ASSERT_TRUE(rename(dir / "New.mp3", odd).ok());
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string> { "x\xFF\xC0.mp3" });
}

TEST_P(RenameTest, RenamesDirectoriesWithTheirContents)
{
    ASSERT_EQ(::mkdir((dir / "album").c_str(), 0755), 0);
    writeFile(dir / "album/track", "x");
    ASSERT_TRUE(rename(dir / "album", dir / "Album 2").ok());
    EXPECT_FALSE(exists(dir / "album"));
    EXPECT_EQ(readFile(dir / "Album 2/track"), "x");
}

TEST_P(RenameTest, NeverReplacesAnExistingEntry)
{
    writeFile(dir / "a", "first");
    writeFile(dir / "b", "second");
    ASSERT_EQ(::mkdir((dir / "empty").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((dir / "full").c_str(), 0755), 0);
    writeFile(dir / "full/inner", "kept");
    ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);

    const std::vector<std::pair<std::string, std::string>> collisions = {
        { "a", "b" },
        { "full", "empty" },
        { "a", "empty" },
        { "full", "b" },
        { "a", "dangling" },
        { "full", "dangling" },
    };
    for (const auto& [from, to] : collisions) {
        const Status status = rename(dir / from, dir / to);
        ASSERT_FALSE(status.ok()) << from << " -> " << to;
        EXPECT_EQ(status.error().code, EEXIST) << from << " -> " << to;
        EXPECT_NE(status.error().operation.find(dir / to), std::string::npos);
    }
    EXPECT_EQ(readFile(dir / "a"), "first");
    EXPECT_EQ(readFile(dir / "b"), "second");
    EXPECT_EQ(readFile(dir / "full/inner"), "kept");
    EXPECT_EQ(namesIn(dir / "empty"), std::vector<std::string> {});
    EXPECT_EQ(
        namesIn(dir.path()), (std::vector<std::string> { "a", "b", "dangling", "empty", "full" }));
}

TEST_P(RenameTest, UnchangedNameSucceedsWithoutACall)
{
    writeFile(dir / "same", "x");
    EXPECT_TRUE(rename(dir / "same", dir / "same").ok());
    EXPECT_EQ(readFile(dir / "same"), "x");
}

TEST_P(RenameTest, MissingSourceFails)
{
    const Status status = rename(dir / "missing", dir / "other");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().code, ENOENT);
    EXPECT_FALSE(exists(dir / "other"));
}

TEST_P(RenameTest, SymlinkIsRenamedNotFollowed)
{
    ASSERT_EQ(::mkdir((dir / "target").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("target", (dir / "link").c_str()), 0);
    ASSERT_TRUE(rename(dir / "link", dir / "Link2").ok());
    struct stat info = {};
    ASSERT_EQ(::lstat((dir / "Link2").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string> { "Link2", "target" }));
}

TEST_P(RenameTest, HardLinksDifferingInCaseAreTwoEntries)
{
    // On a case-sensitive file system "song.mp3" and "Song.mp3" are two names of one file.
    // The rename is an ordinary collision: nothing may move, not even for a moment, since a
    // detour through a temporary name could merge the two names into one.
    writeFile(dir / "song.mp3", "shared");
    ASSERT_EQ(::link((dir / "song.mp3").c_str(), (dir / "Song.mp3").c_str()), 0);
    const ino_t inode = inodeOf(dir / "song.mp3");
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, dir.path().c_str(), IN_MOVE | IN_CREATE | IN_DELETE), 0);

    const Status status = rename(dir / "song.mp3", dir / "Song.mp3");

    std::array<char, 4096> events {};
    const ssize_t eventBytes = ::read(watch, events.data(), events.size());
    ::close(watch);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().code, EEXIST);
    EXPECT_EQ(eventBytes, -1) << "an entry of the directory was moved, created or deleted";
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string> { "Song.mp3", "song.mp3" }));
    EXPECT_EQ(inodeOf(dir / "song.mp3"), inode);
    EXPECT_EQ(inodeOf(dir / "Song.mp3"), inode);
    struct stat info = {};
    ASSERT_EQ(::lstat((dir / "song.mp3").c_str(), &info), 0);
    EXPECT_EQ(info.st_nlink, 2U);
    EXPECT_EQ(readFile(dir / "Song.mp3"), "shared");

    // Two names of one file that differ by more than case: refused as well.
    ASSERT_EQ(::link((dir / "song.mp3").c_str(), (dir / "b").c_str()), 0);
    EXPECT_EQ(rename(dir / "song.mp3", dir / "b").error().code, EEXIST);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string> { "Song.mp3", "b", "song.mp3" }));
}

TEST_P(RenameTest, TwoFilesDifferingInCaseAreTwoEntries)
{
    // Alike in everything a lookup shows but the inode number, as one entry seen under two
    // spellings is on some case-insensitive drivers: the listing holds both names, so this is
    // a collision and nothing may move.
    writeFile(dir / "abc.txt", "same");
    writeFile(dir / "ABC.TXT", "same");
    const std::array<timespec, 2> times { timespec { 1000000000, 0 }, timespec { 1000000000, 0 } };
    ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "abc.txt").c_str(), times.data(), 0), 0);
    ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "ABC.TXT").c_str(), times.data(), 0), 0);
    const ino_t lower = inodeOf(dir / "abc.txt");
    const ino_t upper = inodeOf(dir / "ABC.TXT");

    const Status status = rename(dir / "abc.txt", dir / "ABC.TXT");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().code, EEXIST);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string> { "ABC.TXT", "abc.txt" }));
    EXPECT_EQ(inodeOf(dir / "abc.txt"), lower);
    EXPECT_EQ(inodeOf(dir / "ABC.TXT"), upper);
}

TEST_P(RenameTest, CaseOnlyChangeInACaseInsensitiveDirectory)
{
    ASSERT_EQ(::mkdir((dir / "ci").c_str(), 0755), 0);
    const int fd = ::open((dir / "ci").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    int flags = 0;
    const bool caseFolding = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0
        && ::ioctl(fd, FS_IOC_SETFLAGS, &(flags |= FS_CASEFOLD_FL)) == 0;
    ::close(fd);
    if (!caseFolding)
        GTEST_SKIP() << "no case-insensitive directories under " << dir.path();

    writeFile(dir / "ci/song.mp3", "tune");
    writeFile(dir / "ci/other", "x");
    ASSERT_TRUE(rename(dir / "ci/song.mp3", dir / "ci/Song.MP3").ok());
    EXPECT_EQ(namesIn(dir / "ci"), (std::vector<std::string> { "Song.MP3", "other" }));
    EXPECT_EQ(rename(dir / "ci/Song.MP3", dir / "ci/OTHER").error().code, EEXIST);
    EXPECT_EQ(readFile(dir / "ci/other"), "x");
}

INSTANTIATE_TEST_SUITE_P(Methods, RenameTest,
    testing::Values(RenameMethod::Native, RenameMethod::Emulated),
    [](const testing::TestParamInfo<RenameMethod>& param) {
        return param.param == RenameMethod::Native ? "Native" : "Emulated";
    });

TEST(PosixFileSystemRename, UsesTheNoReplaceRename)
{
    TempDir dir;
    PosixFileSystem fs;
    writeFile(dir / "a", "1");
    writeFile(dir / "b", "2");
    EXPECT_EQ(fs.rename(dir / "a", dir / "b").error().code, EEXIST);
    ASSERT_TRUE(fs.rename(dir / "a", dir / "c").ok());
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string> { "b", "c" }));
}

TEST(PosixFileSystemRename, RenameInActsOnTheDirectoryNamedEachTime)
{
    // The directory kept open between calls must never stand in for another one: not for
    // a different path, and not for a new directory put at the same path once let go.
    TempDir dir;
    PosixFileSystem fs;
    ASSERT_EQ(::mkdir((dir / "one").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((dir / "two").c_str(), 0755), 0);
    const std::string one = dir / "one/";
    const std::string two = dir / "two/";
    writeFile(one + "a", "1");
    writeFile(one + "x", "1");
    writeFile(one + "taken", "kept");
    writeFile(two + "a", "2");
    ASSERT_TRUE(fs.renameIn(one, "x", "b").ok());
    ASSERT_TRUE(fs.renameIn(two, "a", "c").ok());
    EXPECT_EQ(fs.renameIn(one, "b", "taken").error().code, EEXIST);
    EXPECT_EQ(namesIn(one), (std::vector<std::string> { "a", "b", "taken" }));
    EXPECT_EQ(namesIn(two), (std::vector<std::string> { "c" }));
    EXPECT_EQ(readFile(one + "taken"), "kept");

    fs.closeRenameDirectory();
    ASSERT_EQ(::rename((dir / "one").c_str(), (dir / "old").c_str()), 0);
    ASSERT_EQ(::mkdir((dir / "one").c_str(), 0755), 0);
    writeFile(one + "b", "new");
    ASSERT_TRUE(fs.renameIn(one, "b", "d").ok());
    EXPECT_EQ(namesIn(one), (std::vector<std::string> { "d" }));
    EXPECT_EQ(namesIn(dir / "old"), (std::vector<std::string> { "a", "b", "taken" }));
}

TEST(CaseRenameTemporaryName, VisibleBesideTheOriginalAndDistinctPerAttempt)
{
    const std::string from = "/music/rock/song.mp3";
    std::set<std::string> seen;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::string name = caseRenameTemporaryName(from, attempt);
        ASSERT_TRUE(name.starts_with("/music/rock/song.mp3")) << name;
        const std::string base = name.substr(std::string("/music/rock/").size());
        EXPECT_EQ(base.find('/'), std::string::npos) << name;
        EXPECT_NE(base, "song.mp3");
        EXPECT_FALSE(base.starts_with('.')) << name;
        EXPECT_NE(base.find("quorvane"), std::string::npos) << name;
        EXPECT_TRUE(seen.insert(name).second) << "repeated: " << name;
    }
    EXPECT_EQ(caseRenameTemporaryName("song.mp3", 0).find('/'), std::string::npos);
}

TEST(CaseRenameTemporaryName, LongNamesAreShortenedToAUsableName)
{
    TempDir dir;
    // "é" is two bytes: the cut must not fall between them.
    std::string longName;
    while (longName.size() < NAME_MAX - 1)
        longName += "\xC3\xA9";
    const std::string from = dir / longName;
    std::set<std::string> seen;
    for (int attempt = 0; attempt < 12; ++attempt) {
        const std::string temporary = caseRenameTemporaryName(from, attempt);
        const std::string base = temporary.substr(dir.path().size() + 1);
        EXPECT_LE(base.size(), std::size_t { NAME_MAX });
        EXPECT_TRUE(base.starts_with("\xC3\xA9"));
        EXPECT_TRUE(isValidUtf8(base)) << "a UTF-8 sequence was cut";
        EXPECT_TRUE(seen.insert(temporary).second);
        writeFile(temporary, "x");
        EXPECT_TRUE(exists(temporary)) << "the system refused the name";
    }
}
