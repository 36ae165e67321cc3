// Mount points, the dangerous-directory test and the temporary directory.
#include "platform/volumes.h"

#include "platform/posix_file_system.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <pwd.h>
#include <unistd.h>

using namespace quorvane::platform;
using quorvane::test::ScopedEnv;
using quorvane::test::TempDir;

TEST(Volumes, MountInfoGivesTheFifthFieldWithEscapesDecoded)
{
    const std::string text = "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
                             "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
                             "40 27 8:17 / /media/My\\040Disk rw - vfat /dev/sdb1 rw\n"
                             "41 27 8:18 / /mnt/back\\134slash\\011tab rw - ext4 /dev/sdb2 rw\n"
                             "42 27 8:19 /sub /mnt/bind rw - ext4 /dev/sdb3 rw\n"
                             "43 27 8:19 /sub /mnt/bind rw - ext4 /dev/sdb3 rw\n"
                             "truncated line\n"
                             "\n"
                             "44 27 8:20 / /mnt/last rw - ext4 /dev/sdb4 rw";
    const std::vector<std::string> expected
        = { "/proc", "/", "/media/My Disk", "/mnt/back\\slash\ttab", "/mnt/bind", "/mnt/last" };
    EXPECT_EQ(parseMountInfo(text), expected);
}

TEST(Volumes, MountPointsAlwaysHoldTheRoot)
{
    const std::vector<std::string> mounts = mountPoints();
    EXPECT_NE(std::ranges::find(mounts, "/"), mounts.end());
}

TEST(Volumes, NormalizeDirectory)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        { "/", "/" },
        { "//", "/" },
        { "/usr/", "/usr" },
        { "//usr//local///", "/usr/local" },
        { "/usr/./lib/.", "/usr/lib" },
        { "/tmp/x/../../usr", "/usr" },
        { "/..", "/" },
        { "/../etc", "/etc" },
        { "music/rock/", "music/rock" },
        { "music/..", "." },
        { "../up/./x/..", "../up" },
        { "", "" },
    };
    for (const auto& [path, normalized] : cases)
        EXPECT_EQ(normalizeDirectory(path), normalized) << path;
}

TEST(Volumes, WithinComparesWholeComponents)
{
    EXPECT_TRUE(isWithin("/usr", "/usr"));
    EXPECT_TRUE(isWithin("/usr/lib/", "/usr"));
    EXPECT_TRUE(isWithin("/anything", "/"));
    EXPECT_FALSE(isWithin("/usrdata", "/usr"));
    EXPECT_FALSE(isWithin("/us", "/usr"));
    EXPECT_FALSE(isWithin("/usr/../home", "/usr"));
}

namespace {

/// HOME and TMPDIR at places no real system uses, so every answer follows from the rule.
class DangerousPathTest : public testing::Test
{
protected:
    const std::string home = "/data/users/alice";
    const std::string temp = "/scratch/build/tmp";
    const ScopedEnv homeEnv { "HOME", home.c_str() };
    const ScopedEnv tempEnv { "TMPDIR", temp.c_str() };
    const std::vector<std::string> mounts = { "/", "/mnt/data", "/media/My Disk/",
        "/scratch/build/tmp/mounted", "/run/media/alice/STICK" };
};

} // namespace

TEST_F(DangerousPathTest, SystemTreesRootsAndHomesAreDangerous)
{
    const std::vector<std::string> dangerous = {
        "/",
        "/usr",
        "/usr/",
        "//usr//",
        "/usr/lib",
        "/usr/bin",
        "/usr/local/share/x",
        "/usr/lib/../bin",
        "/etc",
        "/etc/ssh",
        "/var",
        "/var/lib",
        "/var/tmp",
        "/opt",
        "/opt/app",
        "/srv/x",
        "/boot/grub",
        "/lib64",
        "/libx32",
        "/lib/modules",
        "/root",
        "/proc/1",
        "/home",
        "/home/",
        home,
        home + "/",
        home + "/Music/..",
        "/tmp/../usr/lib",
        "/mnt/data",
        "/mnt/data/",
        "/media/My Disk",
        temp + "/mounted",
        "/run/media/alice/STICK",
        "/run/media/alice",
        "/run/media",
        "/run/user/1000/x",
        // Where volumes are mounted and where every program keeps its scratch directories.
        "/mnt",
        "/mnt/",
        "/media",
        "/tmp",
        "/tmp/",
        "//tmp/.",
        "/var/tmp/",
        temp,
        temp + "/",
        temp + "/x/..",
    };
    for (const std::string& path : dangerous)
        EXPECT_TRUE(isDangerousPath(path, mounts)) << path;
}

TEST_F(DangerousPathTest, UserDataAndScratchSpaceAreNot)
{
    const std::vector<std::string> harmless = {
        "/home/user/Music",
        "/root/Music",
        home + "/Music",
        home + "/Music/Rock",
        "/usrdata",
        "/optical",
        "/etcetera/x",
        "/mnt/data/music",
        "/mnt/usb/music",
        "/media/alice/STICK/music",
        // Where udisks mounts a user's stick on some systems: inside the volume is user data.
        "/run/media/alice/STICK/music",
        "/run/media/alice/STICK/music/Rock/",
        "/tmp/x",
        "/var/tmp/x",
        temp + "/x",
        temp + "/x/y/",
        "/data/users",
        "music",
    };
    for (const std::string& path : harmless)
        EXPECT_FALSE(isDangerousPath(path, mounts)) << path;
}

TEST_F(DangerousPathTest, PasswdHomeIsDangerousWhateverHomeSays)
{
    const struct passwd* entry = ::getpwuid(::getuid());
    if (entry == nullptr || entry->pw_dir == nullptr || *entry->pw_dir != '/')
        GTEST_SKIP() << "no passwd entry with a home";
    const std::string passwdHome = entry->pw_dir;
    const std::vector<std::string> homes = homeDirectories();
    EXPECT_NE(std::ranges::find(homes, normalizeDirectory(passwdHome)), homes.end());
    EXPECT_TRUE(isDangerousPath(passwdHome, mounts)) << passwdHome;
}

TEST_F(DangerousPathTest, TemporaryDirectoryCannotSwitchTheGuardOff)
{
    for (const char* broad : { "/", "/usr", "/usr/", "/lib64", "/home", "/data/users", "/data" }) {
        const ScopedEnv env("TMPDIR", broad);
        EXPECT_TRUE(isDangerousPath("/usr/lib/x", mounts)) << "TMPDIR=" << broad;
        EXPECT_TRUE(isDangerousPath("/lib64/x", mounts)) << "TMPDIR=" << broad;
        EXPECT_TRUE(isDangerousPath(home, mounts)) << "TMPDIR=" << broad;
    }
    {
        const ScopedEnv env("TMPDIR", "relative/tmp");
        EXPECT_TRUE(isDangerousPath("/usr/relative/tmp/x", mounts));
    }
    // A build tree deep inside a system tree, with TMPDIR pointing into it, is scratch space.
    const ScopedEnv env("TMPDIR", "/opt/ci/build/tmp");
    EXPECT_FALSE(isDangerousPath("/opt/ci/build/tmp/quorvane-test-1", mounts));
    EXPECT_TRUE(isDangerousPath("/opt/ci/build/tmp", mounts));
    EXPECT_TRUE(isDangerousPath("/opt/ci/build", mounts));
}

TEST(Volumes, DangerousDirectoryFollowsTheCanonicalPath)
{
    TempDir dir;
    const PosixFileSystem fs;
    // The home and a scratch directory side by side, so the home is outside the scratch space.
    // Wherever the build tree lies, the insides of the scratch directory are harmless and the
    // home is dangerous.
    dir.dir("home/Music");
    dir.dir("scratch/real/Music");
    const ScopedEnv homeEnv("HOME", (dir / "home").c_str());
    const ScopedEnv tempEnv("TMPDIR", (dir / "scratch").c_str());
    ASSERT_EQ(::symlink("/etc", (dir / "scratch/to-etc").c_str()), 0);
    ASSERT_EQ(::symlink("/usr/lib", (dir / "scratch/to-usr-lib").c_str()), 0);
    ASSERT_EQ(::symlink("/", (dir / "scratch/to-root").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "home").c_str(), (dir / "scratch/to-home").c_str()), 0);
    ASSERT_EQ(::symlink("real", (dir / "scratch/to-real").c_str()), 0);

    EXPECT_TRUE(fs.isDangerousDirectory(dir / "home"));
    EXPECT_TRUE(fs.isDangerousDirectory(dir / "home/Music/.."));
    EXPECT_TRUE(fs.isDangerousDirectory(dir / "scratch/to-etc"));
    EXPECT_TRUE(fs.isDangerousDirectory(dir / "scratch/to-usr-lib/"));
    EXPECT_TRUE(fs.isDangerousDirectory(dir / "scratch/to-root/"));
    EXPECT_TRUE(fs.isDangerousDirectory(dir / "scratch/to-home"));
    EXPECT_TRUE(fs.isDangerousDirectory(dir / "scratch"));
    ASSERT_EQ(::symlink((dir / "scratch").c_str(), (dir / "to-scratch").c_str()), 0);
    EXPECT_TRUE(fs.isDangerousDirectory(dir / "to-scratch"));
    EXPECT_FALSE(fs.isDangerousDirectory(dir / "to-scratch/real"));
    EXPECT_FALSE(fs.isDangerousDirectory(dir / "scratch/real/Music"));
    EXPECT_FALSE(fs.isDangerousDirectory(dir / "scratch/to-real/Music"));
    EXPECT_FALSE(fs.isDangerousDirectory(dir / "scratch/missing"));
    EXPECT_TRUE(fs.isDangerousDirectory("/usr/"));
    EXPECT_TRUE(fs.isDangerousDirectory("/usr/lib/.."));
    EXPECT_TRUE(fs.isDangerousDirectory("/var/lib"));
}

TEST(Volumes, TempDirectoryComesFromTmpdir)
{
    {
        const ScopedEnv env("TMPDIR", "/var/tmp/quorvane/");
        EXPECT_EQ(tempDirectory(), "/var/tmp/quorvane");
    }
    {
        const ScopedEnv env("TMPDIR", "");
        EXPECT_EQ(tempDirectory(), "/tmp");
    }
    {
        const ScopedEnv env("TMPDIR", nullptr);
        EXPECT_EQ(tempDirectory(), "/tmp");
    }
}
