// The directory monitor on real directories: signals, path, filters and failures.
#include "app/tdirmon.h"

#include "dirmon_recorder.h"

#include "platform/name_codec.h"
#include "support/temp_dir.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

namespace quorvane::test {
namespace {

using app::EDirMonError;
using app::TDirMon;

TEST(TDirMon, SignalsFollowAnotherThreadsChangesInOrderOnTheGuiThread)
{
    TempDir dir;
    TDirMon monitor;
    Recorder recorder(monitor);
    startOn(monitor, dir.path());
    std::thread changer([&] {
        dir.file("a", "contents");
        std::filesystem::rename(dir / "a", dir / "b");
        dir.dir("d");
        std::filesystem::remove(dir / "d");
        std::filesystem::remove(dir / "b");
    });
    changer.join();
    ASSERT_TRUE(recorder.waitFor("deleted b"));
    EXPECT_EQ(recorder.withoutModified(),
        (std::vector<std::string> {
            "created a", "renamed a b", "created d", "deleted d", "deleted b" }));
    EXPECT_TRUE(recorder.saw("modified a"));
    EXPECT_TRUE(recorder.onGuiThreadOnly);
}

TEST(TDirMon, SignalsFollowAnotherProcessesChangesWithUndecodableNamesKept)
{
    TempDir dir;
    TDirMon monitor;
    monitor.setWatchFilters(app::nfFILE_NAME);
    QSignalSpy renamed(&monitor, &TDirMon::Renamed);
    startOn(monitor, dir.path());
    const int status = QProcess::execute(QStringLiteral("/bin/sh"),
        { QStringLiteral("-c"),
            QStringLiteral("cd \"$0\" && touch x && mv x \"$(printf 'caf\\351')\""),
            QString::fromStdString(dir.path()) });
    ASSERT_EQ(status, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return renamed.count() > 0; }, kTimeoutMs));
    ASSERT_EQ(renamed.count(), 1);
    EXPECT_EQ(renamed.at(0).at(0).value<std::u32string>(), U"x");
    EXPECT_EQ(renamed.at(0).at(1).value<std::u32string>(), U"caf\xDD69");
}

TEST(TDirMon, PathTakesATrailingSlashAndOnlyAnExistingDirectory)
{
    TempDir dir;
    dir.dir("sub");
    dir.file("plain");
    struct Case
    {
        std::string set;
        std::string expected;
    };
    const Case cases[] = {
        { dir / "sub", dir / "sub/" },
        { dir / "sub/", dir / "sub/" },
        { dir / "missing", dir.path() + "/" },
        { dir / "plain", dir.path() + "/" },
        { "", dir.path() + "/" },
        { "/", "/" },
    };
    for (const Case& c : cases) {
        TDirMon monitor;
        monitor.setPath(dirPath(dir.path()));
        monitor.setPath(dirPath(c.set));
        EXPECT_EQ(monitor.Path(), dirPath(c.expected)) << c.set;
        EXPECT_FALSE(monitor.Active());
    }
}

TEST(TDirMon, SettingPathRestartsAnActiveMonitorOnTheNewOrTheOldDirectory)
{
    TempDir first;
    TempDir second;
    TDirMon monitor;
    Recorder recorder(monitor);
    startOn(monitor, first.path());

    monitor.setPath(dirPath(first / "missing"));
    EXPECT_TRUE(monitor.Active());
    first.file("still");
    EXPECT_TRUE(recorder.waitFor("created still"));

    monitor.setPath(dirPath(second.path()));
    EXPECT_TRUE(monitor.Active());
    first.file("old");
    second.file("new");
    ASSERT_TRUE(recorder.waitFor("created new"));
    EXPECT_FALSE(recorder.saw("created old"));
}

TEST(TDirMon, NoFiltersLeaveTheMonitorInactiveWithoutError)
{
    TempDir dir;
    TDirMon monitor;
    monitor.setWatchFilters({});
    monitor.setPath(dirPath(dir.path()));
    EXPECT_NO_THROW(monitor.setActive(true));
    EXPECT_FALSE(monitor.Active());
}

TEST(TDirMon, StartingFailsWithTheSystemsTextAndLeavesTheMonitorInactive)
{
    struct Case
    {
        const char* what;
        std::function<void(const TempDir&)> spoil;
        int code;
    };
    const Case cases[] = {
        { "removed", [](const TempDir& d) { std::filesystem::remove(d / "w"); }, ENOENT },
        { "replaced by a file",
            [](const TempDir& d) {
                std::filesystem::remove(d / "w");
                d.file("w");
            },
            ENOTDIR },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.dir("w");
        TDirMon monitor;
        monitor.setPath(dirPath(dir / "w"));
        c.spoil(dir);
        try {
            monitor.setActive(true);
            ADD_FAILURE() << "no error";
        } catch (const EDirMonError& error) {
            EXPECT_STREQ(error.what(), std::strerror(c.code));
        }
        EXPECT_FALSE(monitor.Active());
    }
    // A restart after the watched directory went away.
    TempDir dir;
    dir.dir("w");
    TDirMon monitor;
    startOn(monitor, dir / "w");
    std::filesystem::remove(dir / "w");
    EXPECT_THROW(monitor.setPath(dirPath(dir / "elsewhere")), EDirMonError);
    EXPECT_FALSE(monitor.Active());
}

TEST(TDirMon, SubtreeAndFiltersChooseWhatIsReported)
{
    TempDir dir;
    dir.dir("sub");
    TDirMon deep;
    deep.setWatchSubtree(true);
    Recorder deepRecorder(deep);
    startOn(deep, dir.path());
    TDirMon dirsOnly;
    dirsOnly.setWatchFilters(app::nfDIR_NAME);
    Recorder dirsRecorder(dirsOnly);
    startOn(dirsOnly, dir.path());

    dir.file("sub/f");
    dir.file("g");
    dir.dir("h");
    ASSERT_TRUE(deepRecorder.waitFor("created h"));
    EXPECT_EQ(deepRecorder.withoutModified(),
        (std::vector<std::string> { "created sub/f", "created g", "created h" }));
    ASSERT_TRUE(dirsRecorder.waitFor("created h"));
    EXPECT_EQ(dirsRecorder.events, std::vector<std::string> { "created h" });
}

} // namespace
} // namespace quorvane::test
