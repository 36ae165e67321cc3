// The drive list: which volumes it lists, which one it selects, and what the user's pick says.
#include "app/drive_combo_box.h"

#include "platform/name_codec.h"
#include "support/temp_dir.h"

#include <QFile>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace quorvane::app {
namespace {

using platform::decodeName;

TEST(DriveComboBox, ListsRealVolumesSortedByRoot)
{
    DriveComboBox drives;
    const std::vector<std::u32string>& roots = drives.roots();
    ASSERT_FALSE(roots.empty());
    EXPECT_EQ(roots.front(), U"/");
    EXPECT_TRUE(std::ranges::is_sorted(roots));
    EXPECT_EQ(std::ranges::adjacent_find(roots), roots.end());
    EXPECT_EQ(drives.count(), static_cast<int>(roots.size()));
    for (const std::u32string& root : roots) {
        SCOPED_TRACE(platform::encodeName(root));
        EXPECT_FALSE(root.starts_with(U"/proc/") || root == U"/proc");
        EXPECT_FALSE(root.starts_with(U"/sys/") || root == U"/sys");
    }
    // Nothing is selected before the window says where it is.
    EXPECT_EQ(drives.currentRoot(), U"");
}

TEST(DriveComboBox, SelectsTheVolumeHoldingTheDirectoryWithoutSignalling)
{
    test::TempDir temp;
    temp.dir("a/b");
    DriveComboBox drives;
    QSignalSpy chosen(&drives, &DriveComboBox::driveChosen);

    drives.setDirectory(decodeName(temp / "a/b"));
    const QString expected = QStorageInfo(QString::fromStdString(temp.path())).rootPath();
    EXPECT_EQ(drives.currentRoot(), decodeName(QFile::encodeName(expected).toStdString()));

    drives.setDirectory(U"/");
    EXPECT_EQ(drives.currentRoot(), U"/");
    EXPECT_EQ(drives.currentText().left(1), QStringLiteral("/"));
    EXPECT_EQ(chosen.count(), 0);
}

TEST(DriveComboBox, SignalsWhenTheUserPicksAnotherVolume)
{
    DriveComboBox drives;
    if (drives.roots().size() < 2)
        GTEST_SKIP() << "only one volume is mounted";
    drives.setDirectory(U"/");
    QSignalSpy chosen(&drives, &DriveComboBox::driveChosen);

    QTest::keyClick(&drives, Qt::Key_Down);
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(drives.currentRoot(), drives.roots().at(1));
    // A volume chosen in code is no choice of the user's.
    drives.setDirectory(U"/");
    EXPECT_EQ(chosen.count(), 1);
}

TEST(DriveComboBox, RootHoldsWholeComponentsOnly)
{
    struct Case
    {
        std::u32string root;
        std::u32string dir;
        bool holds;
    };
    const Case cases[] = {
        { U"/", U"/", true },
        { U"/", U"/home/x", true },
        { U"/mnt/a", U"/mnt/a", true },
        { U"/mnt/a", U"/mnt/a/x/y", true },
        { U"/mnt/a", U"/mnt/ab", false },
        { U"/mnt/a", U"/mnt", false },
        { U"", U"/", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::encodeName(c.root) + " " + platform::encodeName(c.dir));
        EXPECT_EQ(DriveComboBox::rootHolds(c.root, c.dir), c.holds);
    }
}

TEST(DriveComboBox, LeavesOutPseudoFileSystems)
{
    for (const char* type : { "proc", "sysfs", "cgroup", "cgroup2", "devpts", "tracefs",
             "binfmt_misc", "efivarfs", "autofs" })
        EXPECT_TRUE(DriveComboBox::isPseudoFileSystem(type)) << type;
    for (const char* type : { "ext4", "btrfs", "xfs", "vfat", "tmpfs", "overlay", "nfs4" })
        EXPECT_FALSE(DriveComboBox::isPseudoFileSystem(type)) << type;
}

} // namespace
} // namespace quorvane::app
