// The directory tree on real directories: its items, their images and indents, and opening.
#include "app/directory_list_box.h"

#include "platform/name_codec.h"
#include "platform/posix_file_system.h"
#include "support/failing_file_system.h"
#include "support/temp_dir.h"

#include <QIcon>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace quorvane::app {
namespace {

/// The real disk, as the window passes it to its lists.
const platform::FileSystem& realDisk()
{
    static const platform::PosixFileSystem disk;
    return disk;
}

using platform::decodeName;
using platform::encodeName;
using test::TempDir;

std::u32string u32(const std::string& bytes)
{
    return decodeName(bytes);
}

QString shown(const tDirectoryListBoxSpecial& list, int row)
{
    return list.model()->index(row, 0).data().toString();
}

int kindAt(const tDirectoryListBoxSpecial& list, int row)
{
    return list.model()->index(row, 0).data(tDirectoryListBoxSpecial::KindRole).toInt();
}

int depthAt(const tDirectoryListBoxSpecial& list, int row)
{
    return list.model()->index(row, 0).data(tDirectoryListBoxSpecial::DepthRole).toInt();
}

QImage imageAt(const tDirectoryListBoxSpecial& list, int row)
{
    const auto icon = list.model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>();
    return icon.pixmap(16, 16).toImage();
}

/// The display texts of the path's levels: "/" and then each component.
QStringList levelsOf(const std::string& path)
{
    QStringList levels { QStringLiteral("/") };
    for (const QString& part : QString::fromStdString(path).split(u'/', Qt::SkipEmptyParts))
        levels << part;
    return levels;
}

int rowOf(const tDirectoryListBoxSpecial& list, const QString& text)
{
    for (int row = 0; row < list.model()->rowCount(); ++row) {
        if (shown(list, row) == text)
            return row;
    }
    return -1;
}

class DirectoryListBoxTest : public ::testing::Test
{
protected:
    DirectoryListBoxTest()
    {
        for (const char* name : { "zebra", "Zeta", "alpha", ".hidden", "Beta", "b" })
            temp.dir(std::string("top/mid/") + name);
        temp.file("top/mid/a-file");
        std::filesystem::create_directory_symlink(temp / "top", temp / "top/mid/link-to-dir");
    }
    TempDir temp;
    std::string mid = temp / "top/mid";
};

TEST_F(DirectoryListBoxTest, ListsLevelsThenSubdirectoriesSortedWithoutLetterCase)
{
    tDirectoryListBoxSpecial list(realDisk());
    list.setDirectory(u32(mid));

    const QStringList levels = levelsOf(mid);
    const QStringList subdirectories { ".hidden", "alpha", "b", "Beta", "zebra", "Zeta" };
    QStringList items;
    for (int row = 0; row < list.model()->rowCount(); ++row)
        items << shown(list, row);
    EXPECT_EQ(items, levels + subdirectories); // no file, no link to a directory
    EXPECT_EQ(list.subdirectoryCount(), subdirectories.size());
    EXPECT_EQ(list.directory(), u32(mid));
    EXPECT_FALSE(list.readError().has_value());

    const int current = static_cast<int>(levels.size()) - 1;
    EXPECT_EQ(list.currentIndex().row(), current);
    for (int row = 0; row < list.model()->rowCount(); ++row) {
        SCOPED_TRACE(row);
        const int kind = row < current ? tDirectoryListBoxSpecial::Level
            : row == current           ? tDirectoryListBoxSpecial::Current
                                       : tDirectoryListBoxSpecial::Subdirectory;
        EXPECT_EQ(kindAt(list, row), kind);
        EXPECT_EQ(depthAt(list, row), std::min(row, current + 1));
    }
    EXPECT_EQ(list.itemPath(0), U"/");
    EXPECT_EQ(list.itemPath(current - 1), u32(temp / "top"));
    EXPECT_EQ(list.itemPath(current), u32(mid));
    EXPECT_EQ(list.itemPath(current + 2), u32(mid + "/alpha"));
}

TEST_F(DirectoryListBoxTest, ShowsThreeDistinctImages)
{
    tDirectoryListBoxSpecial list(realDisk());
    list.setDirectory(u32(mid));
    const int current = list.currentIndex().row();
    ASSERT_GE(current, 2);
    const QImage level = imageAt(list, current - 1);
    const QImage here = imageAt(list, current);
    const QImage subdirectory = imageAt(list, current + 1);
    EXPECT_FALSE(level.isNull() || here.isNull() || subdirectory.isNull());
    EXPECT_NE(level, here);
    EXPECT_NE(level, subdirectory);
    EXPECT_NE(here, subdirectory);
    EXPECT_EQ(imageAt(list, 0), level);
    EXPECT_EQ(imageAt(list, current + 2), subdirectory);
}

TEST_F(DirectoryListBoxTest, RootHasOneLevelAndSingleSlashPaths)
{
    tDirectoryListBoxSpecial list(realDisk());
    list.setDirectory(U"/");
    ASSERT_GE(list.subdirectoryCount(), 1);
    EXPECT_EQ(list.model()->rowCount(), 1 + list.subdirectoryCount());
    EXPECT_EQ(kindAt(list, 0), tDirectoryListBoxSpecial::Current);
    EXPECT_EQ(depthAt(list, 1), 1);
    const std::u32string first = list.itemPath(1);
    const std::u32string name = list.model()->index(1, 0).data().toString().toStdU32String();
    EXPECT_EQ(first, std::u32string(U"/").append(name));
    EXPECT_FALSE(first.starts_with(U"//"));
}

TEST_F(DirectoryListBoxTest, OpensItemsByDoubleClickAndEnter)
{
    tDirectoryListBoxSpecial list(realDisk());
    list.resize(300, 600);
    list.setDirectory(u32(temp / "top"));
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QSignalSpy changed(&list, &tDirectoryListBoxSpecial::directoryChanged);

    const QModelIndex midItem = list.model()->index(rowOf(list, "mid"), 0);
    ASSERT_TRUE(midItem.isValid());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(midItem).center());
    EXPECT_EQ(list.directory(), u32(mid));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(list.subdirectoryCount(), 6);

    // Enter on a level above goes up to it.
    list.setCurrentIndex(list.model()->index(rowOf(list, "top"), 0));
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(list.directory(), u32(temp / "top"));
    EXPECT_EQ(changed.count(), 2);

    // Opening the directory the list is in changes nothing.
    QTest::keyClick(&list, Qt::Key_Enter);
    EXPECT_EQ(list.directory(), u32(temp / "top"));
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(DirectoryListBoxTest, MovesAndRereadsInCodeWithoutSignallingAndNormalizesThePath)
{
    tDirectoryListBoxSpecial list(realDisk());
    QSignalSpy changed(&list, &tDirectoryListBoxSpecial::directoryChanged);
    list.setDirectory(u32(temp.path() + "//top/mid/"));
    EXPECT_EQ(list.directory(), u32(mid));

    temp.dir("top/mid/new");
    list.update();
    EXPECT_EQ(list.subdirectoryCount(), 7);
    EXPECT_NE(rowOf(list, "new"), -1);
    temp.dir("top/mid/newer");
    list.setDirectory(u32(mid));
    EXPECT_EQ(list.subdirectoryCount(), 8);
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(DirectoryListBoxTest, KeepsTheBytesOfUndecodableNames)
{
    const std::string bad = "caf\xE9";
    temp.dir("top/mid/" + bad + "/inner");
    tDirectoryListBoxSpecial list(realDisk());
    list.setDirectory(u32(mid));
    const int row = rowOf(list, QStringLiteral("caf\uFFFD"));
    ASSERT_NE(row, -1);
    EXPECT_EQ(encodeName(list.itemPath(row)), mid + "/" + bad);

    list.openItem(row);
    EXPECT_EQ(encodeName(list.directory()), mid + "/" + bad);
    EXPECT_FALSE(list.readError().has_value());
    EXPECT_EQ(list.subdirectoryCount(), 1);
}

TEST_F(DirectoryListBoxTest, UnreadableDirectoryShowsItsLevelsOnly)
{
    test::FailingFileSystem fileSystem;
    fileSystem.unreadable.push_back(mid);
    tDirectoryListBoxSpecial list(fileSystem);
    list.setDirectory(u32(mid));
    EXPECT_EQ(list.model()->rowCount(), levelsOf(mid).size());
    EXPECT_EQ(list.subdirectoryCount(), 0);
    ASSERT_TRUE(list.readError().has_value());
    EXPECT_EQ(list.readError()->code, EACCES);

    list.setDirectory(u32(temp / "top/gone"));
    EXPECT_EQ(list.subdirectoryCount(), 0);
    ASSERT_TRUE(list.readError().has_value());
    EXPECT_EQ(list.readError()->code, ENOENT);

    list.setDirectory(u32(temp / "top"));
    EXPECT_FALSE(list.readError().has_value());
    EXPECT_EQ(list.subdirectoryCount(), 1);
}

} // namespace
} // namespace quorvane::app
