// Renames that never replace anything, by renameat2 and by the emulation without it.
#include "platform/posix_file_system.h"
#include "platform/posix_rename.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane::platform;
using quorvane::test::exists;
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

std::vector<std::string> namesIn(const std::string& dir)
{
    const PosixFileSystem fs;
    const auto listing = fs.listDirectory(dir, Detail::KindOnly);
    EXPECT_TRUE(listing.ok());
    std::vector<std::string> names;
    for (const DirEntry& entry : listing.value())
        names.push_back(entry.name);
    std::ranges::sort(names);
    return names;
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
    // On a case-sensitive file system "a" and "A" are two names of one file: the move
    // through a temporary name must fail at its second step and be undone.
    writeFile(dir / "a", "shared");
    ASSERT_EQ(::link((dir / "a").c_str(), (dir / "A").c_str()), 0);
    const Status status = rename(dir / "a", dir / "A");
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().code, EEXIST);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string> { "A", "a" }));
    EXPECT_EQ(inodeOf(dir / "a"), inodeOf(dir / "A"));

    // Two names of one file that differ by more than case: refused without any detour.
    ASSERT_EQ(::link((dir / "a").c_str(), (dir / "b").c_str()), 0);
    EXPECT_EQ(rename(dir / "a", dir / "b").error().code, EEXIST);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string> { "A", "a", "b" }));
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
