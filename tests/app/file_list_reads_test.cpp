// The file list's background reads: a newer read always wins, a selection changed during a
// read is the one kept, a list or window closed mid-read waits for its read, and the status
// bar's count follows the list that arrives.
#include "file_list_wait.h"
#include "window_controls.h"

#include "app/dialog_host.h"
#include "app/file_list_box.h"
#include "app/file_list_model.h"
#include "app/tform1.h"
#include "platform/name_codec.h"
#include "support/failing_file_system.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorvane::test {
namespace {

using platform::decodeName;
using platform::encodeName;

/// Holds the listings of one directory made off the GUI thread until opened: a background
/// read whose end the test decides. Open it before the list that reads through it goes.
class ReadGate
{
public:
    void install(FailingFileSystem& fs, const std::string& dir)
    {
        const std::thread::id gui = std::this_thread::get_id();
        fs.beforeListing = [this, gui, dir](const std::string& listed) {
            if (listed != dir || std::this_thread::get_id() == gui)
                return;
            std::unique_lock lock(m_lock);
            ++m_held;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_open; });
        };
    }
    void open()
    {
        {
            const std::lock_guard lock(m_lock);
            m_open = true;
        }
        m_changed.notify_all();
    }
    /// Waits until a read is held at the gate.
    void waitForHeld()
    {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_held > 0; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_open = false;
    int m_held = 0;
};

std::vector<std::string> listedBytes(const app::FileListBox& list)
{
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(list.count()));
    for (int row = 0; row < list.count(); ++row)
        names.push_back(encodeName(list.name(row)));
    return names;
}

const app::FileListModel& modelOf(const app::FileListBox& list)
{
    return dynamic_cast<const app::FileListModel&>(*list.model());
}

/// Processes events until every read, superseded ones included, has reported back.
bool waitForEveryRead(const app::FileListBox& list)
{
    return QTest::qWaitFor([&list] { return modelOf(list).readsInFlight() == 0; }, 10'000);
}

TEST(FileListReads, AnOlderReadEndingLastNeverReplacesTheNewerDirectory)
{
    TempDir temp;
    temp.dir("old");
    temp.dir("new");
    temp.file("old/a.txt");
    temp.file("new/b.txt");
    FailingFileSystem fs;
    ReadGate gate;
    gate.install(fs, temp / "old");
    app::FileListBox list(fs);
    QSignalSpy changed(&list, &app::FileListBox::listChanged);

    list.setDirectory(decodeName(temp / "old"));
    gate.waitForHeld();
    EXPECT_TRUE(list.isLoading());
    list.setDirectory(decodeName(temp / "new"));
    ASSERT_TRUE(waitForFileList(list));
    EXPECT_EQ(listedBytes(list), std::vector<std::string> { "b.txt" });

    gate.open();
    ASSERT_TRUE(waitForEveryRead(list));
    EXPECT_EQ(listedBytes(list), std::vector<std::string> { "b.txt" });
    EXPECT_EQ(list.directory(), decodeName(temp / "new"));
    EXPECT_EQ(changed.count(), 1) << "the superseded read announces nothing";
    EXPECT_FALSE(list.isLoading());
}

TEST(FileListReads, ANewDirectoryEmptiesTheListUntilItsOwnArrives)
{
    TempDir temp;
    temp.dir("big");
    temp.file("small.txt");
    temp.file("big/x.txt");
    temp.file("big/y.txt");
    FailingFileSystem fs;
    ReadGate gate;
    gate.install(fs, temp / "big");
    app::FileListBox list(fs);
    list.setDirectory(decodeName(temp.path()));
    ASSERT_TRUE(waitForFileList(list));
    list.selectAll();

    // Names of the old directory must not be taken for the new one's while it loads.
    list.setDirectory(decodeName(temp / "big"));
    gate.waitForHeld();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.selectedNames().empty());
    gate.open();
    ASSERT_TRUE(waitForFileList(list));
    EXPECT_EQ(listedBytes(list), (std::vector<std::string> { "x.txt", "y.txt" }));
}

TEST(FileListReads, TheSelectionAsTheListArrivesIsTheOneKept)
{
    TempDir temp;
    for (const char* name : { "a", "b", "c" })
        temp.file(name);
    FailingFileSystem fs;
    ReadGate gate;
    app::FileListBox list(fs);
    list.setDirectory(decodeName(temp.path()));
    ASSERT_TRUE(waitForEveryRead(list));
    list.selectionModel()->select(list.model()->index(0, 0), QItemSelectionModel::Select);

    gate.install(fs, temp.path()); // no read is running: the next one is held
    temp.file("0");
    list.update();
    gate.waitForHeld();
    // The user goes on working on the list shown while the read is on its way.
    list.selectionModel()->select(list.model()->index(1, 0), QItemSelectionModel::ClearAndSelect);
    list.setFocusedRow(2);
    gate.open();
    ASSERT_TRUE(waitForFileList(list));

    EXPECT_EQ(listedBytes(list), (std::vector<std::string> { "0", "a", "b", "c" }));
    ASSERT_EQ(list.selectedNames().size(), 1U);
    EXPECT_EQ(list.selectedNames().front(), U"b");
    EXPECT_EQ(list.focusedName(), U"c");
}

TEST(FileListReads, AListClosedDuringAReadWaitsForIt)
{
    TempDir temp;
    temp.file("a");
    FailingFileSystem fs;
    ReadGate gate;
    gate.install(fs, temp.path());
    auto list = std::make_unique<app::FileListBox>(fs);
    list->setDirectory(decodeName(temp.path()));
    gate.waitForHeld();
    std::thread opener([&gate] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gate.open();
    });
    list.reset(); // returns once the read has ended: it reads through `fs`
    opener.join();
    QCoreApplication::processEvents(); // nothing is left to deliver to the list
    const std::lock_guard lock(fs.listingsLock);
    EXPECT_EQ(fs.listings[temp.path()], 1);
}

class WindowFileList : public ::testing::Test
{
protected:
    WindowFileList()
    {
        tmp.dir("many");
        for (int i = 0; i < 250; ++i)
            tmp.file("many/file " + std::to_string(i));
        tmp.file("one.txt");
        tmp.file("two.txt");
    }

    TempDir tmp;
    ScriptedPrompts prompts;
    FailingFileSystem fs;
    ReadGate gate;
    app::DialogHost dialogs;
};

TEST_F(WindowFileList, StatusBarSaysLoadingUntilTheListArrivesThenCountsIt)
{
    app::TForm1 window(prompts, fs, dialogs, decodeName(tmp.path()));
    const WindowControls ui(window);
    ASSERT_TRUE(waitForEveryRead(*ui.FileListBox1));
    EXPECT_TRUE(ui.StatusPanel1->text().startsWith(QStringLiteral(" 2 ")))
        << ui.StatusPanel1->text().toStdString();

    gate.install(fs, tmp / "many");
    window.browsePane().openDirectory(decodeName(tmp / "many"));
    gate.waitForHeld();
    EXPECT_TRUE(ui.StatusPanel1->text().startsWith(QStringLiteral(" \u2026 ")))
        << ui.StatusPanel1->text().toStdString();
    EXPECT_EQ(ui.FileListBox1->count(), 0);

    gate.open();
    ASSERT_TRUE(waitForFileList(*ui.FileListBox1));
    EXPECT_EQ(ui.FileListBox1->count(), 250);
    EXPECT_TRUE(ui.StatusPanel1->text().startsWith(QStringLiteral(" 250 ")))
        << ui.StatusPanel1->text().toStdString();
}

TEST_F(WindowFileList, ClosingTheWindowDuringAReadDoesNotCrash)
{
    auto window = std::make_unique<app::TForm1>(prompts, fs, dialogs, decodeName(tmp.path()));
    ASSERT_TRUE(waitForEveryRead(*WindowControls(*window).FileListBox1));
    gate.install(fs, tmp / "many");
    window->browsePane().openDirectory(decodeName(tmp / "many"));
    gate.waitForHeld();
    std::thread opener([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gate.open();
    });
    window->close();
    window.reset();
    opener.join();
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompts.messages.empty());
}

} // namespace
} // namespace quorvane::test
