// The main window keeps its lists current while other programs change the directory.
#include "file_list_wait.h"
#include "support/failing_file_system.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

#include "window_controls.h"

#include "app/dialog_host.h"
#include "app/file_list_box.h"
#include "app/tdirmon.h"
#include "app/tform1.h"
#include "platform/name_codec.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace quorvane::test {
namespace {

class WindowMonitor : public ::testing::Test
{
protected:
    WindowMonitor()
        : window(prompts, fs, dialogs, platform::decodeName(tmp.path()))
    { }
    TempDir tmp;
    ScriptedPrompts prompts;
    FailingFileSystem fs;
    app::DialogHost dialogs;
    app::TForm1 window;
    WindowControls ui { window };
};

TEST_F(WindowMonitor, ABurstFromAnotherProgramEndsInTheRightListWithFewReReads)
{
    if (window.runState().platformKind != engine::PlatformKind::NT)
        GTEST_SKIP() << "no directory notification here";
    ASSERT_TRUE(ui.DirMon1->Active());
    QSignalSpy reads(ui.FileListBox1, &app::FileListBox::listChanged);

    constexpr int kFiles = 3000;
    std::atomic<bool> written = false;
    std::thread writer([&] {
        for (int i = 0; i < kFiles; ++i)
            tmp.file("f" + std::to_string(i) + ".txt");
        written = true;
    });
    // The window goes on handling events while the other program writes.
    while (!written)
        QTest::qWait(20);
    writer.join();
    QTRY_COMPARE_WITH_TIMEOUT(ui.FileListBox1->count(), kFiles, 10000);
    EXPECT_LT(reads.count(), kFiles / 20) << "bursts are gathered into few re-reads";

    std::thread remover([this] {
        for (int i = 0; i < kFiles; i += 2)
            std::filesystem::remove(tmp / ("f" + std::to_string(i) + ".txt"));
    });
    remover.join();
    QTRY_COMPARE_WITH_TIMEOUT(ui.FileListBox1->count(), kFiles / 2, 10000);
}

TEST_F(WindowMonitor, TheMonitorIsOffDuringARunAndOnAfterIt)
{
    if (window.runState().platformKind != engine::PlatformKind::NT)
        GTEST_SKIP() << "no directory notification here";
    tmp.file("a.txt");
    ui.FileListBox1->update();
    ASSERT_TRUE(waitForFileList(*ui.FileListBox1));
    bool activeDuringRun = true;
    fs.renameError = [&](int, const std::string&, const std::string&) {
        activeDuringRun = ui.DirMon1->Active();
        return 0;
    };
    QTest::mouseClick(ui.BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(activeDuringRun);
    EXPECT_TRUE(ui.DirMon1->Active());
    EXPECT_TRUE(tmp.exists("A.txt"));
}

TEST_F(WindowMonitor, TheMonitorFollowsTheDirectory)
{
    if (window.runState().platformKind != engine::PlatformKind::NT)
        GTEST_SKIP() << "no directory notification here";
    tmp.dir("sub");
    ui.DirMon1->setPath(platform::decodeName(tmp / "sub"));
    EXPECT_EQ(ui.DirMon1->Path(), platform::decodeName(tmp / "sub/"));
    ui.FileListBox1->setDirectory(platform::decodeName(tmp.path()));
    ASSERT_TRUE(waitForFileList(*ui.FileListBox1));
    EXPECT_EQ(ui.DirMon1->Path(), platform::decodeName(tmp.path() + "/"))
        << "a re-read of the file list points the monitor at the tree's directory";
}

} // namespace
} // namespace quorvane::test
