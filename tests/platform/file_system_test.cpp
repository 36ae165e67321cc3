// Listing, attributes and the stored attribute word on a real temporary directory.
#include "platform/posix_file_system.h"

#include "platform/dos_attributes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace quorvane::platform;
using quorvane::test::TempDir;
using quorvane::test::writeFile;

namespace {

std::map<std::string, DirEntry> byName(const std::vector<DirEntry>& entries)
{
    std::map<std::string, DirEntry> map;
    for (const DirEntry& entry : entries)
        map.emplace(entry.name, entry);
    return map;
}

mode_t modeOf(const std::string& path)
{
    struct stat info = {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

/// True when the file system under the directory keeps user extended attributes.
bool supportsUserXattrs(const TempDir& dir)
{
    const std::string probe = dir / "xattr-probe";
    writeFile(probe, "");
    const bool supported = ::setxattr(probe.c_str(), "user.quorvane-probe", "1", 1, 0) == 0;
    ::unlink(probe.c_str());
    return supported;
}

std::string rawDosAttrib(const std::string& path)
{
    std::string value(64, '\0');
    const ssize_t length = ::lgetxattr(path.c_str(), kDosAttribName, value.data(), value.size());
    value.resize(length < 0 ? 0 : static_cast<std::size_t>(length));
    return value;
}

} // namespace

TEST(ListDirectory, ReportsKindsSizesTimesAndRawNames)
{
    TempDir dir;
    const std::string oddName = "bad\xFF\xC0name.mp3";
    writeFile(dir / "song.mp3", "12345");
    writeFile(dir / oddName, "xy");
    writeFile(dir / ".hidden", "");
    ASSERT_EQ(::mkdir((dir / "sub").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("sub", (dir / "link-to-sub").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    const timespec times[2] = { { 0, UTIME_OMIT }, { 1'600'000'000, 123'456'789 } };
    ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "song.mp3").c_str(), times, 0), 0);
    // A sparse file beyond 4 GiB proves the size is not cut to 32 bits.
    const int fd = ::open((dir / "big").c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 5LL << 30), 0);
    ::close(fd);

    const PosixFileSystem fs;
    for (const Detail detail : { Detail::KindOnly, Detail::Full }) {
        const auto listing = fs.listDirectory(dir.path() + "/", detail);
        ASSERT_TRUE(listing.ok()) << listing.error().describe();
        const auto entries = byName(listing.value());
        ASSERT_EQ(entries.size(), 7U);
        EXPECT_EQ(entries.at("song.mp3").kind, EntryKind::File);
        EXPECT_EQ(entries.at(oddName).kind, EntryKind::File);
        EXPECT_EQ(entries.at("sub").kind, EntryKind::Directory);
        EXPECT_EQ(entries.at("link-to-sub").kind, EntryKind::Symlink);
        EXPECT_EQ(entries.at("pipe").kind, EntryKind::Other);
        if (detail == Detail::Full) {
            EXPECT_EQ(entries.at("song.mp3").size, 5U);
            EXPECT_EQ(entries.at("song.mp3").mtimeNs, 1'600'000'000'123'456'789LL);
            EXPECT_EQ(entries.at(oddName).size, 2U);
            EXPECT_EQ(entries.at("big").size, 5ULL << 30);
            EXPECT_EQ(entries.at("song.mp3").attributes, 0U);
            EXPECT_EQ(entries.at(".hidden").attributes, std::uint32_t { kHidden });
            EXPECT_EQ(entries.at("sub").attributes, std::uint32_t { kDirectoryBit });
            EXPECT_EQ(entries.at("link-to-sub").attributes, 0U);
        }
    }
    // Without a trailing "/" the same directory is read.
    const auto again = fs.listDirectory(dir.path(), Detail::Full);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.value().size(), 7U);
}

TEST(ListDirectory, FailureCarriesErrnoAndOperation)
{
    TempDir dir;
    const PosixFileSystem fs;
    const auto missing = fs.listDirectory(dir / "missing", Detail::KindOnly);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, ENOENT);
    EXPECT_EQ(missing.error().operation, "open directory " + (dir / "missing"));
    EXPECT_NE(missing.error().describe().find(missing.error().text()), std::string::npos);

    writeFile(dir / "file", "");
    const auto notDir = fs.listDirectory(dir / "file", Detail::KindOnly);
    ASSERT_FALSE(notDir.ok());
    EXPECT_EQ(notDir.error().code, ENOTDIR);
}

TEST(Status, ReportsOneEntryAndLooksThroughLinksOnlyWhenAsked)
{
    TempDir dir;
    const PosixFileSystem fs;
    writeFile(dir / "file", "12345");
    ASSERT_EQ(::chmod((dir / "file").c_str(), 0640), 0);
    ASSERT_EQ(::symlink("file", (dir / "link").c_str()), 0);
    ASSERT_EQ(::symlink("missing", (dir / "dangling").c_str()), 0);

    const auto file = fs.status(dir / "file", Links::DoNotFollow);
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.value().kind, EntryKind::File);
    EXPECT_EQ(file.value().size, 5U);
    EXPECT_EQ(file.value().permissions, 0640U);
    EXPECT_GT(file.value().mtimeNs, 0);

    EXPECT_EQ(fs.status(dir / "link", Links::DoNotFollow).value().kind, EntryKind::Symlink);
    EXPECT_EQ(fs.status(dir / "link", Links::Follow).value().kind, EntryKind::File);
    EXPECT_EQ(fs.status(dir.path(), Links::Follow).value().kind, EntryKind::Directory);
    EXPECT_TRUE(fs.status(dir / "dangling", Links::DoNotFollow).ok());
    const auto dangling = fs.status(dir / "dangling", Links::Follow);
    ASSERT_FALSE(dangling.ok());
    EXPECT_EQ(dangling.error().code, ENOENT);
}

TEST(Attributes, HiddenByLeadingDotAndReadOnlyByWriteBits)
{
    TempDir dir;
    const PosixFileSystem fs;
    writeFile(dir / ".config", "");
    writeFile(dir / "plain", "");
    writeFile(dir / "group-writable", "");
    ASSERT_EQ(::chmod((dir / "plain").c_str(), 0444), 0);
    ASSERT_EQ(::chmod((dir / "group-writable").c_str(), 0464), 0);
    ASSERT_EQ(::mkdir((dir / "locked").c_str(), 0555), 0);

    EXPECT_EQ(fs.attributes(dir / ".config").value(), std::uint32_t { kHidden });
    EXPECT_EQ(fs.attributes(dir / "plain").value(), std::uint32_t { kReadOnly });
    EXPECT_EQ(fs.attributes(dir / "group-writable").value(), 0U);
    // A directory's permissions say nothing about its read-only flag.
    EXPECT_EQ(fs.attributes(dir / "locked").value(), std::uint32_t { kDirectoryBit });
    EXPECT_EQ(fs.attributes(dir / "locked/").value(), std::uint32_t { kDirectoryBit });
    EXPECT_EQ(fs.attributes(dir / "missing").error().code, ENOENT);
}

TEST(RemoveFile, DeletesFilesAndLinksButNeverDirectoriesOrLinkTargets)
{
    TempDir dir;
    PosixFileSystem fs;
    writeFile(dir / "target", "kept");
    writeFile(dir / "gone", "x");
    ASSERT_EQ(::symlink((dir / "target").c_str(), (dir / "link").c_str()), 0);
    ASSERT_EQ(::mkdir((dir / "sub").c_str(), 0755), 0);

    EXPECT_TRUE(fs.removeFile(dir / "gone").ok());
    EXPECT_TRUE(fs.removeFile(dir / "link").ok());
    EXPECT_FALSE(quorvane::test::exists(dir / "gone"));
    EXPECT_FALSE(quorvane::test::exists(dir / "link"));
    EXPECT_EQ(quorvane::test::readFile(dir / "target"), "kept");

    const Status refused = fs.removeFile(dir / "sub");
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().code, EISDIR);
    EXPECT_TRUE(quorvane::test::exists(dir / "sub"));
}

TEST(SetAttributes, FileReadOnlyRemovesEveryWriteBitAndClearingAddsTheOwners)
{
    TempDir dir;
    PosixFileSystem fs;
    const std::string file = dir / "track.mp3";
    writeFile(file, "music");
    ASSERT_EQ(::chmod(file.c_str(), 0664), 0);

    (void)fs.setAttributes(file, kReadOnly | kArchive);
    EXPECT_EQ(modeOf(file), 0444U);
    (void)fs.setAttributes(file, kArchive);
    EXPECT_EQ(modeOf(file), 0644U);
    (void)fs.setAttributes(file, 0);
    EXPECT_EQ(modeOf(file), 0644U);
    EXPECT_EQ(quorvane::test::readFile(file), "music");
}

TEST(SetAttributes, DirectoryAndSymlinkKeepTheirPermissions)
{
    TempDir dir;
    PosixFileSystem fs;
    ASSERT_EQ(::mkdir((dir / "album").c_str(), 0755), 0);
    (void)fs.setAttributes(dir / "album", kReadOnly);
    EXPECT_EQ(modeOf(dir / "album"), 0755U);

    writeFile(dir / "target", "");
    ASSERT_EQ(::chmod((dir / "target").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("target", (dir / "link").c_str()), 0);
    (void)fs.setAttributes(dir / "link", kReadOnly);
    EXPECT_EQ(modeOf(dir / "target"), 0644U);

    EXPECT_EQ(fs.setAttributes(dir / "missing", 0).error().code, ENOENT);
}

TEST(SetAttributes, StoredWordRoundTrip)
{
    TempDir dir;
    if (!supportsUserXattrs(dir))
        GTEST_SKIP() << "no user extended attributes under " << dir.path();
    PosixFileSystem fs;
    const std::string file = dir / "song.mp3";
    writeFile(file, "");
    ASSERT_EQ(::mkdir((dir / "album").c_str(), 0755), 0);

    ASSERT_TRUE(fs.setAttributes(file, kHidden | kSystem | kArchive).ok());
    EXPECT_EQ(rawDosAttrib(file), "0x26");
    EXPECT_EQ(fs.attributes(file).value(), kHidden | kSystem | kArchive);
    ASSERT_TRUE(fs.setAttributes(file, kReadOnly).ok());
    EXPECT_EQ(rawDosAttrib(file), "0x1");
    EXPECT_EQ(fs.attributes(file).value(), std::uint32_t { kReadOnly });
    ASSERT_TRUE(fs.setAttributes(file, 0).ok());
    EXPECT_EQ(fs.attributes(file).value(), 0U);

    ASSERT_TRUE(fs.setAttributes(dir / "album", kReadOnly | kArchive).ok());
    EXPECT_EQ(fs.attributes(dir / "album").value(), kReadOnly | kArchive | kDirectoryBit);
    const auto listing = fs.listDirectory(dir.path(), Detail::Full);
    ASSERT_TRUE(listing.ok());
    const auto entries = byName(listing.value());
    EXPECT_EQ(entries.at("album").attributes, kReadOnly | kArchive | kDirectoryBit);
}

TEST(SetAttributes, StoredWordAsSambaWritesIt)
{
    TempDir dir;
    if (!supportsUserXattrs(dir))
        GTEST_SKIP() << "no user extended attributes under " << dir.path();
    const PosixFileSystem fs;
    const std::string file = dir / "doc";
    writeFile(file, "");
    // Samba follows the hex text with a NUL and a binary record.
    const std::string samba("0x22\0\x04\x00\x04\x00\x11\x22", 11);
    ASSERT_EQ(::setxattr(file.c_str(), kDosAttribName, samba.data(), samba.size(), 0), 0);
    EXPECT_EQ(fs.attributes(file).value(), kHidden | kArchive);
    // An unreadable word counts as no word.
    ASSERT_EQ(::setxattr(file.c_str(), kDosAttribName, "junk", 4, 0), 0);
    EXPECT_EQ(fs.attributes(file).value(), 0U);
    // A value longer than the first read buffer is still read.
    const std::string longValue = "0x4" + std::string(1, '\0') + std::string(1000, 'x');
    ASSERT_EQ(::setxattr(file.c_str(), kDosAttribName, longValue.data(), longValue.size(), 0), 0);
    EXPECT_EQ(fs.attributes(file).value(), std::uint32_t { kSystem });
}

TEST(DosAttrib, ParseAndFormat)
{
    EXPECT_EQ(parseDosAttrib("0x20"), 0x20U);
    EXPECT_EQ(parseDosAttrib("0X2a"), 0x2AU);
    EXPECT_EQ(parseDosAttrib(std::string_view("0x7\0rest", 8)), 7U);
    EXPECT_EQ(parseDosAttrib("0x"), 0U);
    EXPECT_EQ(parseDosAttrib("20"), 0U);
    EXPECT_EQ(parseDosAttrib("0x2g"), 0U);
    EXPECT_EQ(parseDosAttrib("0x123456789"), 0U);
    EXPECT_EQ(parseDosAttrib(""), 0U);
    EXPECT_EQ(formatDosAttrib(0), "0x0");
    EXPECT_EQ(formatDosAttrib(0x26), "0x26");
    EXPECT_EQ(formatDosAttrib(0xABCDEF12), "0xabcdef12");
}

TEST(CertainlyHasNoSubdirectories, OnlyWhenTheLinkCountProvesIt)
{
    TempDir dir;
    const PosixFileSystem fs;
    ASSERT_EQ(::mkdir((dir / "files").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((dir / "parent").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((dir / "parent/child").c_str(), 0755), 0);
    writeFile(dir / "files/a", "");
    writeFile(dir / "parent/b", "");
    // A link to a directory is no subdirectory, and must not hide the shortcut either.
    ASSERT_EQ(::symlink((dir / "parent").c_str(), (dir / "files/link").c_str()), 0);

    EXPECT_FALSE(fs.certainlyHasNoSubdirectories(dir / "parent"));
    EXPECT_FALSE(fs.certainlyHasNoSubdirectories(dir.path()));
    EXPECT_FALSE(fs.certainlyHasNoSubdirectories(dir / "missing"));
    struct statfs volume = {};
    ASSERT_EQ(::statfs(dir.path().c_str(), &volume), 0);
    const auto type = volume.f_type;
    if (type == 0xEF53 || type == 0x58465342 || type == 0x01021994) // ext4, xfs, tmpfs
        EXPECT_TRUE(fs.certainlyHasNoSubdirectories(dir / "files"));
    else
        EXPECT_FALSE(fs.certainlyHasNoSubdirectories(dir / "files"));
}
