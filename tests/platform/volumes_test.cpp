// Mount points, the dangerous-directory test and the temporary directory.
#include "platform/volumes.h"

#include "platform/posix_file_system.h"
#include "scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    EXPECT_EQ(normalizeDirectory("/"), "/");
    EXPECT_EQ(normalizeDirectory("//"), "/");
    EXPECT_EQ(normalizeDirectory("/usr/"), "/usr");
    EXPECT_EQ(normalizeDirectory("//usr//local///"), "/usr/local");
    EXPECT_EQ(normalizeDirectory("music/rock/"), "music/rock");
    EXPECT_EQ(normalizeDirectory(""), "");
}

TEST(Volumes, DangerousPathTable)
{
    const std::vector<std::string> mounts = { "/", "/mnt/data", "/media/My Disk/" };
    const std::vector<std::pair<std::string, bool>> cases = {
        { "/", true },
        { "/usr", true },
        { "/usr/", true },
        { "//usr//", true },
        { "/etc", true },
        { "/lib64", true },
        { "/var", true },
        { "/usr/local", false },
        { "/etc/apt", false },
        { "/USR", false },
        { "/home", false },
        { "/mnt/data", true },
        { "/mnt/data/", true },
        { "/mnt/data/music", false },
        { "/mnt", false },
        { "/media/My Disk", true },
    };
    for (const auto& [path, dangerous] : cases)
        EXPECT_EQ(isDangerousPath(path, mounts), dangerous) << path;
    EXPECT_TRUE(isRoot("/mnt/data/", mounts));
    EXPECT_FALSE(isRoot("/usr", mounts));
}

TEST(Volumes, DangerousDirectoryFollowsTheCanonicalPath)
{
    TempDir dir;
    const PosixFileSystem fs;
    ASSERT_EQ(::mkdir((dir / "music").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("/etc", (dir / "to-etc").c_str()), 0);
    ASSERT_EQ(::symlink("/", (dir / "to-root").c_str()), 0);
    EXPECT_FALSE(fs.isDangerousDirectory(dir / "music"));
    EXPECT_TRUE(fs.isDangerousDirectory(dir / "to-etc"));
    EXPECT_TRUE(fs.isDangerousDirectory(dir / "to-root/"));
    EXPECT_TRUE(fs.isDangerousDirectory("/usr/"));
    EXPECT_TRUE(fs.isDangerousDirectory("/usr/lib/.."));
    EXPECT_FALSE(fs.isDangerousDirectory(dir / "missing"));
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
