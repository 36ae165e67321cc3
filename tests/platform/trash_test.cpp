// Moving entries into the home trash and a volume's trash, and the records written for them.
#include "platform/trash.h"

#include "platform/posix_file_system.h"
#include "support/failing_file_system.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <map>
#include <sstream>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane::platform;
using quorvane::test::exists;
using quorvane::test::readFile;
using quorvane::test::ScopedEnv;
using quorvane::test::TempDir;
using quorvane::test::writeFile;

namespace {

struct stat statOf(const std::string& path)
{
    struct stat info = {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

std::string canonical(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    std::string result = resolved != nullptr ? resolved : "";
    std::free(resolved); // NOLINT(cppcoreguidelines-no-malloc)
    return result;
}

std::map<std::string, std::string> readRecord(const std::string& path)
{
    std::istringstream text(readFile(path));
    std::map<std::string, std::string> keys;
    std::string line;
    std::getline(text, line);
    keys["group"] = line;
    while (std::getline(text, line)) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return keys;
}

std::string percentDecode(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

/// The seconds since the epoch of a DeletionDate value read as local time; -1 if malformed.
std::time_t parseDeletionDate(const std::string& value)
{
    std::tm local = {};
    const char* end = ::strptime(value.c_str(), "%Y-%m-%dT%H:%M:%S", &local);
    if (end == nullptr || *end != '\0' || value.size() != 19)
        return -1;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

/// A home trash in a data directory of its own that does not exist yet.
class HomeTrashTest : public testing::Test
{
protected:
    TempDir data;
    TempDir dir;
    const std::string dataHome = data / "data/share";
    const std::string trash = dataHome + "/Trash";
    const ScopedEnv dataEnv { "XDG_DATA_HOME", dataHome.c_str() };
    PosixFileSystem fs;
};

} // namespace

TEST_F(HomeTrashTest, CreatesTheMissingTrashPrivatelyAndLeavesTheDirectoryClean)
{
    dir.file("music/song.mp3", "tune");
    dir.file("music/other", "x");
    const struct stat before = statOf(dir / "music/song.mp3");

    const Result<std::string> moved = fs.moveToTrash(dir / "music/song.mp3");

    ASSERT_TRUE(moved.ok()) << moved.error().describe();
    EXPECT_EQ(moved.value(), trash + "/files/song.mp3");
    EXPECT_EQ(dir.namesIn("music"), std::vector<std::string> { "other" });
    EXPECT_EQ(readFile(moved.value()), "tune");
    EXPECT_EQ(statOf(moved.value()).st_ino, before.st_ino);
    EXPECT_TRUE(exists(trash + "/info/song.mp3.trashinfo"));
    for (const std::string& created :
        { data / "data", dataHome, trash, trash + "/files", trash + "/info" })
        EXPECT_EQ(statOf(created).st_mode & 07777, 0700U) << created;
    EXPECT_EQ(data.namesIn(), std::vector<std::string> { "data" });
}

TEST_F(HomeTrashTest, SameNameTwiceLandsTwiceWithItsOwnRecord)
{
    dir.file("a/song.mp3", "first");
    dir.file("b/song.mp3", "second");
    const std::time_t start = std::time(nullptr);
    const Result<std::string> first = fs.moveToTrash(dir / "a/song.mp3");
    const Result<std::string> second = fs.moveToTrash(dir / "b/song.mp3");
    const std::time_t end = std::time(nullptr);
    ASSERT_TRUE(first.ok() && second.ok());
    ASSERT_NE(first.value(), second.value());
    EXPECT_EQ(readFile(first.value()), "first");
    EXPECT_EQ(readFile(second.value()), "second");

    const std::map<std::string, std::string> expected = {
        { first.value(), canonical(dir.path()) + "/a/song.mp3" },
        { second.value(), canonical(dir.path()) + "/b/song.mp3" },
    };
    for (const auto& [inTrash, original] : expected) {
        const std::string name = inTrash.substr(inTrash.rfind('/') + 1);
        const auto record = readRecord(trash + "/info/" + name + ".trashinfo");
        EXPECT_EQ(record.at("group"), "[Trash Info]");
        EXPECT_EQ(record.at("Path"), original);
        const std::time_t deleted = parseDeletionDate(record.at("DeletionDate"));
        EXPECT_GE(deleted, start - 1) << record.at("DeletionDate");
        EXPECT_LE(deleted, end + 1) << record.at("DeletionDate");
    }
}

TEST_F(HomeTrashTest, RefusesDirectoriesAndMissingPaths)
{
    dir.file("album/track", "x");
    const Result<std::string> directory = fs.moveToTrash(dir / "album");
    ASSERT_FALSE(directory.ok());
    EXPECT_EQ(directory.error().code, EISDIR);
    EXPECT_EQ(dir.read("album/track"), "x");

    const Result<std::string> missing = fs.moveToTrash(dir / "nothing");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, ENOENT);
    EXPECT_FALSE(exists(trash));
}

TEST_F(HomeTrashTest, SymbolicLinkIsMovedAsTheLink)
{
    dir.file("target", "kept");
    ASSERT_EQ(::symlink("target", (dir / "link").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
    const Result<std::string> link = fs.moveToTrash(dir / "link");
    const Result<std::string> dangling = fs.moveToTrash(dir / "dangling");
    ASSERT_TRUE(link.ok() && dangling.ok());
    EXPECT_TRUE(S_ISLNK(statOf(link.value()).st_mode));
    EXPECT_TRUE(S_ISLNK(statOf(dangling.value()).st_mode));
    EXPECT_EQ(dir.namesIn(), std::vector<std::string> { "target" });
    EXPECT_EQ(dir.read("target"), "kept");
}

TEST_F(HomeTrashTest, OddNamesArePercentEncodedAndRoundTrip)
{
    EXPECT_EQ(encodeTrashPath("/x/a b%\xFF+\xC3\xA9-_.!~*'()"), "/x/a%20b%25%FF%2B%C3%A9-_.!~*'()");

    const std::string odd = "a b%20c\xFF\xFE #?\xC3\xA9.mp3";
    writeFile(dir / odd, "x");
    const Result<std::string> moved = fs.moveToTrash(dir / odd);
    ASSERT_TRUE(moved.ok()) << moved.error().describe();
    EXPECT_EQ(moved.value(), trash + "/files/" + odd);
    const std::string path = readRecord(trash + "/info/" + odd + ".trashinfo").at("Path");
    EXPECT_EQ(path.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                     "0123456789-_.!~*'()/%"),
        std::string::npos)
        << path;
    EXPECT_EQ(percentDecode(path), canonical(dir.path()) + "/" + odd);
}

TEST_F(HomeTrashTest, FailedMoveLeavesNoRecordAndTheEntryInPlace)
{
    dir.file("song.mp3", "tune");
    ASSERT_EQ(::mkdir((data / "locked").c_str(), 0700), 0);
    const TrashLocation location { data / "locked", {} };
    ASSERT_EQ(::mkdir((data / "locked/files").c_str(), 0700), 0);
    // A directory nothing can be moved into: without write permission, and for a superuser
    // immutable as well.
    ASSERT_EQ(::chmod((data / "locked/files").c_str(), 0500), 0);
    const int fd = ::open((data / "locked/files").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    int flags = 0;
    const bool immutable = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0
        && ::ioctl(fd, FS_IOC_SETFLAGS, &(flags |= FS_IMMUTABLE_FL)) == 0;
    if (!immutable && ::geteuid() == 0) {
        ::close(fd);
        GTEST_SKIP() << "cannot make a directory refuse a superuser here";
    }

    const Result<std::string> moved = moveIntoTrash(canonical(dir / "song.mp3"), location);

    if (immutable)
        (void)::ioctl(fd, FS_IOC_SETFLAGS, &(flags &= ~FS_IMMUTABLE_FL));
    ::close(fd);
    ASSERT_FALSE(moved.ok());
    EXPECT_NE(moved.error().operation.find("song.mp3"), std::string::npos);
    EXPECT_EQ(dir.read("song.mp3"), "tune");
    EXPECT_EQ(data.namesIn("locked/info"), std::vector<std::string> {});
}

TEST(VolumeTrash, PrivateTrashPerUserWithPathsRelativeToTheVolume)
{
    TempDir volume;
    volume.file("sub/track.mp3", "x");
    const std::string topdir = canonical(volume.path());
    const Result<TrashLocation> location = volumeTrash(topdir);
    ASSERT_TRUE(location.ok()) << location.error().describe();
    const std::string own = topdir + "/.Trash-" + std::to_string(::getuid());
    EXPECT_EQ(location.value().directory, own);
    EXPECT_EQ(statOf(own).st_mode & 07777, 0700U);

    const Result<std::string> moved = moveIntoTrash(topdir + "/sub/track.mp3", location.value());
    ASSERT_TRUE(moved.ok()) << moved.error().describe();
    EXPECT_EQ(moved.value(), own + "/files/track.mp3");
    EXPECT_EQ(readRecord(own + "/info/track.mp3.trashinfo").at("Path"), "sub/track.mp3");
    EXPECT_FALSE(volume.exists("sub/track.mp3"));
}

TEST(VolumeTrash, SharedTrashOnlyWithStickyBitAndNeverThroughALink)
{
    TempDir volume;
    const std::string topdir = canonical(volume.path());
    const std::string uid = std::to_string(::getuid());
    ASSERT_EQ(::mkdir((topdir + "/.Trash").c_str(), 0777), 0);
    ASSERT_EQ(::chmod((topdir + "/.Trash").c_str(), 0777), 0);
    EXPECT_EQ(volumeTrash(topdir).value().directory, topdir + "/.Trash-" + uid);

    ASSERT_EQ(::chmod((topdir + "/.Trash").c_str(), 01777), 0);
    EXPECT_EQ(volumeTrash(topdir).value().directory, topdir + "/.Trash/" + uid);

    // Another user's directory behind a link must never receive what we throw away.
    TempDir other;
    ASSERT_EQ(::rmdir((topdir + "/.Trash/" + uid).c_str()), 0);
    ASSERT_EQ(::rmdir((topdir + "/.Trash").c_str()), 0);
    ASSERT_EQ(::rmdir((topdir + "/.Trash-" + uid).c_str()), 0);
    ASSERT_EQ(::symlink(other.path().c_str(), (topdir + "/.Trash-" + uid).c_str()), 0);
    const Result<TrashLocation> linked = volumeTrash(topdir);
    ASSERT_FALSE(linked.ok());
    EXPECT_EQ(linked.error().code, ENOTDIR);
}

TEST(FailingFileSystemTrash, FailsOnDemandAndOtherwiseMoves)
{
    TempDir dir;
    TempDir data;
    const ScopedEnv dataEnv("XDG_DATA_HOME", data.path().c_str());
    dir.file("a", "1");
    quorvane::test::FailingFileSystem fs;
    fs.trashError = [](const std::string& path) { return path.ends_with("/a") ? EXDEV : 0; };
    const Result<std::string> refused = fs.moveToTrash(dir / "a");
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().code, EXDEV);
    EXPECT_TRUE(dir.exists("a"));

    fs.trashError = nullptr;
    EXPECT_TRUE(fs.moveToTrash(dir / "a").ok());
    EXPECT_FALSE(dir.exists("a"));
    EXPECT_EQ(fs.trashCalls.size(), 2U);
}
