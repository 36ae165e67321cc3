// The file list on real directories: what it lists, its order, and its selection.
#include "app/file_list_box.h"

#include "file_list_wait.h"

#include "platform/collator.h"
#include "platform/name_codec.h"
#include "platform/posix_file_system.h"
#include "support/temp_dir.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include <unistd.h>

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
using test::waitForFileList;

std::vector<std::string> listedBytes(const FileListBox& list)
{
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(list.count()));
    for (int row = 0; row < list.count(); ++row)
        names.push_back(encodeName(list.name(row)));
    return names;
}

std::vector<std::string> bytesOf(const std::vector<std::u32string>& names)
{
    std::vector<std::string> out;
    out.reserve(names.size());
    for (const std::u32string& name : names)
        out.push_back(encodeName(name));
    return out;
}

QRect rectOf(const FileListBox& list, int row)
{
    return list.visualRect(list.model()->index(row, 0));
}

TEST(FileListBox, ListsMatchingNonDirectoriesHiddenIncludedWithoutLetterCase)
{
    TempDir temp;
    for (const char* name :
        { "song.mp3", "LOUD.MP3", "Other.Mp3", ".hidden.mp3", "note.txt", "README" })
        temp.file(name);
    temp.dir("folder.mp3");
    std::filesystem::create_directory_symlink(temp / "folder.mp3", temp / "link.mp3");

    FileListBox list(realDisk());
    QSignalSpy changed(&list, &FileListBox::listChanged);
    list.setDirectory(decodeName(temp.path()));
    ASSERT_TRUE(waitForFileList(list));
    EXPECT_EQ(changed.count(), 1);
    // "*.*" takes names without a dot too; the directory is never listed.
    EXPECT_EQ(listedBytes(list),
        (std::vector<std::string> { ".hidden.mp3", "link.mp3", "LOUD.MP3", "note.txt", "Other.Mp3",
            "README", "song.mp3" }));

    list.setMask(U"*.MP3");

    ASSERT_TRUE(waitForFileList(list));
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(list.mask(), U"*.MP3");
    EXPECT_EQ(listedBytes(list),
        (std::vector<std::string> {
            ".hidden.mp3", "link.mp3", "LOUD.MP3", "Other.Mp3", "song.mp3" }));
    EXPECT_EQ(list.count(), 5);
    EXPECT_EQ(list.model()->index(2, 0).data().toString(), QStringLiteral("LOUD.MP3"));
}

TEST(FileListBox, ShowsNamesInTheOrderARunNumbersThem)
{
    TempDir temp;
    for (const char* name : { "Track10.mp3", "Track1.mp3", "track2.mp3", "Track11.mp3", "Track1" })
        temp.file(name);
    FileListBox list(realDisk());
    list.setDirectory(decodeName(temp.path()));
    ASSERT_TRUE(waitForFileList(list));
    // Digits by value, letters without case, a name before the longer names it starts.
    EXPECT_EQ(listedBytes(list),
        (std::vector<std::string> {
            "Track1", "Track1.mp3", "track2.mp3", "Track10.mp3", "Track11.mp3" }));
}

TEST(FileListBox, SelectionComesInListOrderAndSurvivesAReread)
{
    TempDir temp;
    for (const char* name : { "a", "b", "c", "d", "e" })
        temp.file(name);
    FileListBox list(realDisk());
    list.resize(200, 300);
    list.setDirectory(decodeName(temp.path()));
    ASSERT_TRUE(waitForFileList(list));
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rectOf(list, 3).center());
    QTest::mouseClick(
        list.viewport(), Qt::LeftButton, Qt::ControlModifier, rectOf(list, 0).center());
    QTest::mouseClick(
        list.viewport(), Qt::LeftButton, Qt::ControlModifier, rectOf(list, 2).center());
    EXPECT_EQ(bytesOf(list.selectedNames()), (std::vector<std::string> { "a", "c", "d" }));
    EXPECT_EQ(list.focusedName(), U"c");

    // Another program removes "d" and adds "0" in front: the rows move, the names stay.
    ASSERT_EQ(::unlink((temp / "d").c_str()), 0);
    temp.file("0");
    QSignalSpy changed(&list, &FileListBox::listChanged);
    list.update();
    ASSERT_TRUE(waitForFileList(list));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(listedBytes(list), (std::vector<std::string> { "0", "a", "b", "c", "e" }));
    EXPECT_EQ(bytesOf(list.selectedNames()), (std::vector<std::string> { "a", "c" }));
    EXPECT_EQ(list.focusedName(), U"c");

    list.clearSelection();
    EXPECT_TRUE(list.selectedNames().empty());

    // A new directory or mask starts without a selection or a focused entry.
    list.selectAll();
    list.setMask(U"*");
    ASSERT_TRUE(waitForFileList(list));
    EXPECT_TRUE(list.selectedNames().empty());
    EXPECT_EQ(list.focusedName(), U"");
}

TEST(FileListBox, KeepsTheBytesOfUndecodableNames)
{
    TempDir temp;
    const std::string latin1 = "caf\xE9.txt";
    temp.file(latin1);
    temp.file("plain.txt");
    FileListBox list(realDisk());
    list.setDirectory(decodeName(temp.path()));
    ASSERT_TRUE(waitForFileList(list));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.model()->index(0, 0).data().toString(), QStringLiteral("caf\uFFFD.txt"));

    list.selectionModel()->select(list.model()->index(0, 0), QItemSelectionModel::Select);
    const std::vector<std::u32string> selected = list.selectedNames();
    ASSERT_EQ(selected.size(), 1U);
    EXPECT_EQ(encodeName(selected.front()), latin1);
    EXPECT_TRUE(temp.exists(encodeName(selected.front())));
}

TEST(FileListBox, UnreadableDirectoryListsNothing)
{
    TempDir temp;
    temp.file("x");
    FileListBox list(realDisk());
    list.setDirectory(decodeName(temp.path()));
    ASSERT_TRUE(waitForFileList(list));
    ASSERT_EQ(list.count(), 1);
    QSignalSpy changed(&list, &FileListBox::listChanged);
    list.setDirectory(decodeName(temp / "missing"));
    ASSERT_TRUE(waitForFileList(list));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(list.count(), 0);
    ASSERT_TRUE(list.readError().has_value());
    EXPECT_EQ(list.readError()->code, ENOENT);
}

// Fills the list with 100,000 entries and prints how long it took; the time goes to the
// benchmark notes, so there is no limit here, only a check that the list is complete and in
// order.
TEST(FileListBox, FillsOneHundredThousandEntries)
{
    constexpr int kEntries = 100'000;
    constexpr int kLinksPerFile = 50'000; // below every file system's link limit
    TempDir temp;
    temp.dir("big");
    for (int i = 0; i < kEntries; ++i) {
        // Hard links: one directory entry each, no new file, so the set-up stays quick.
        const std::string seed = temp / ("seed" + std::to_string(i / kLinksPerFile));
        if (i % kLinksPerFile == 0)
            temp.file("seed" + std::to_string(i / kLinksPerFile));
        const std::string name = "Track " + std::to_string((i * 7919) % kEntries) + ".mp3";
        ASSERT_EQ(::link(seed.c_str(), (temp / ("big/" + name)).c_str()), 0) << name;
    }

    FileListBox list(realDisk());
    list.resize(300, 600);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QElapsedTimer timer;
    timer.start();
    list.setDirectory(decodeName(temp / "big"));
    ASSERT_TRUE(waitForFileList(list));
    QCoreApplication::processEvents(); // the view lays out and paints the new rows
    const qint64 fillMs = timer.elapsed();
    ASSERT_EQ(list.count(), kEntries);

    list.selectAll();
    timer.restart();
    list.update();
    ASSERT_TRUE(waitForFileList(list));
    QCoreApplication::processEvents();
    const qint64 rereadMs = timer.elapsed();
    EXPECT_EQ(list.selectedNames().size(), static_cast<std::size_t>(kEntries));
    std::cout << "[ bench    ] fill of " << kEntries << " entries: " << fillMs
              << " ms; re-read keeping all selected: " << rereadMs << " ms\n";

    const platform::Collator collator;
    for (int row = 1; row < kEntries; ++row)
        ASSERT_LE(collator.compare(list.name(row - 1), list.name(row)), 0) << row;
}

} // namespace
} // namespace quorvane::app
