// The directory monitor's hand-over: stopping at any moment, busy handlers, heavy load.
#include "app/tdirmon.h"

#include "dirmon_recorder.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;
using app::TDirMon;

/// How many descriptors this process has open.
std::size_t openDescriptors()
{
    const std::filesystem::directory_iterator entries("/proc/self/fd");
    // Less the one the iterator itself holds open.
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries))) - 1;
}

/// Creates the files f000, f001 ... so that their names sort in creation order.
std::string numbered(int i)
{
    std::string digits = std::to_string(i);
    return "f" + std::string(3 - std::min<std::size_t>(3, digits.size()), '0') + digits;
}

TEST(TDirMonStop, StopReturnsWhileTheWorkerWaitsForItsHandOverAndDropsTheBatch)
{
    TempDir dir;
    TDirMon monitor;
    Recorder recorder(monitor);
    startOn(monitor, dir.path());
    dir.file("early");
    // No event processing: the worker reads the change, posts it and blocks in the hand-over.
    ASSERT_TRUE(waitForHandOver(monitor));
    monitor.StopWatching();
    EXPECT_FALSE(monitor.Active());
    // The delivery posted before the stop is still queued: running it must dispatch nothing.
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(recorder.events.empty());

    monitor.setActive(true);
    dir.file("late");
    ASSERT_TRUE(recorder.waitFor("created late"));
    EXPECT_FALSE(recorder.saw("created early"));
}

TEST(TDirMonStop, DestroyingAMonitorWithAPendingHandOverEndsItsWorkerAndReleasesTheWatch)
{
    TempDir dir;
    const std::size_t descriptorsBefore = openDescriptors();
    auto monitor = std::make_unique<TDirMon>();
    startOn(*monitor, dir.path());
    EXPECT_GT(openDescriptors(), descriptorsBefore) << "a watch holds descriptors";
    dir.file("pending");
    ASSERT_TRUE(waitForHandOver(*monitor));

    // The destructor runs on the GUI thread, which the worker is waiting for: it must release
    // the worker rather than wait for the batch to be dispatched.
    const auto start = std::chrono::steady_clock::now();
    monitor.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    // The worker was joined and the watcher closed, not abandoned to finish later.
    EXPECT_EQ(openDescriptors(), descriptorsBefore);
    // The posted delivery died with the monitor; under the sanitizers this also shows that
    // flushing the queue touches nothing that was freed.
    QCoreApplication::sendPostedEvents();
}

TEST(TDirMonStop, ManyStartsAndStopsUnderChangesNeverHang)
{
    TempDir dir;
    TDirMon monitor;
    Recorder recorder(monitor);
    monitor.setPath(dirPath(dir.path()));
    {
        const BackgroundWriter writer([&](int i) {
            const std::string name = "churn" + std::to_string(i % 20);
            if (i % 2 == 0)
                dir.file(name);
            else
                std::filesystem::remove(dir / name);
        });
        for (int cycle = 0; cycle < 200; ++cycle) {
            monitor.setActive(true);
            ASSERT_TRUE(monitor.Active());
            if (cycle % 3 == 1)
                QCoreApplication::processEvents();
            if (cycle % 3 == 2)
                std::this_thread::sleep_for(1ms);
            monitor.setActive(false);
        }
    }
    // Deliveries posted before a stop may still be queued; each must find its worker stopped.
    const std::size_t afterStops = recorder.events.size();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(recorder.events.size(), afterStops);
    monitor.setActive(true);
    dir.file("sentinel");
    ASSERT_TRUE(recorder.waitFor("created sentinel"));
    // Whatever arrived came while the monitor was on, never after a stop.
    EXPECT_EQ(recorder.events.at(afterStops), "created sentinel");
}

TEST(TDirMonStop, AHandlerRunningAnEventLoopKeepsTheOrder)
{
    TempDir dir;
    TDirMon monitor;
    monitor.setWatchFilters(app::nfFILE_NAME);
    Recorder recorder(monitor);
    bool nested = false;
    QObject::connect(&monitor, &TDirMon::Created, &monitor, [&](const std::u32string&) {
        if (!nested) {
            nested = true;
            QTest::qWait(300); // later batches must wait for this one
        }
        std::this_thread::sleep_for(1ms);
    });
    startOn(monitor, dir.path());
    constexpr int kFiles = 200;
    std::thread writer([&] {
        for (int i = 0; i < kFiles; ++i)
            dir.file(numbered(i));
    });
    writer.join();
    ASSERT_TRUE(recorder.waitFor("created " + numbered(kFiles - 1)));
    ASSERT_EQ(recorder.events.size(), static_cast<std::size_t>(kFiles));
    for (int i = 0; i < kFiles; ++i)
        EXPECT_EQ(recorder.events[static_cast<std::size_t>(i)], "created " + numbered(i));
}

TEST(TDirMonStop, AHandlerMayStopTheMonitorAndTheRestOfTheBatchIsDropped)
{
    TempDir dir;
    TDirMon monitor;
    Recorder recorder(monitor);
    QObject::connect(&monitor, &TDirMon::Created, &monitor,
        [&](const std::u32string&) { monitor.setActive(false); });
    startOn(monitor, dir.path());
    for (int i = 0; i < 50; ++i)
        dir.file(numbered(i));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !monitor.Active(); }, kTimeoutMs));
    // The stop joined the worker, so nothing is posted any more; deliver whatever was.
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(recorder.events, std::vector<std::string> { "created " + numbered(0) });
}

TEST(TDirMonStop, AHandlerMayRestartTheMonitorAndLaterChangesArriveOnce)
{
    TempDir dir;
    TDirMon monitor;
    monitor.setWatchFilters(app::nfFILE_NAME);
    Recorder recorder(monitor);
    int restarts = 0;
    QObject::connect(&monitor, &TDirMon::Created, &monitor, [&](const std::u32string&) {
        ++restarts;
        monitor.setPath(monitor.Path());
    });
    startOn(monitor, dir.path());
    dir.file("first");
    ASSERT_TRUE(recorder.waitFor("created first"));
    EXPECT_TRUE(monitor.Active());
    dir.file("second");
    ASSERT_TRUE(recorder.waitFor("created second"));
    // Events keep their order, so a doubled "second" would come before the sentinel.
    dir.file("third");
    ASSERT_TRUE(recorder.waitFor("created third"));
    EXPECT_EQ(recorder.events,
        (std::vector<std::string> { "created first", "created second", "created third" }));
    EXPECT_EQ(restarts, 3);
}

TEST(TDirMonStop, TenThousandQuickFilesGiveEventsWithoutHarm)
{
    TempDir dir;
    TDirMon monitor;
    Recorder recorder(monitor);
    startOn(monitor, dir.path());
    std::thread writer([&] {
        for (int i = 0; i < 10000; ++i)
            dir.file("many" + std::to_string(i));
    });
    writer.join();
    // Changes lost to a full queue are tolerated; the monitor must keep reporting.
    int sentinel = 0;
    const bool seen = QTest::qWaitFor(
        [&] {
            if (std::any_of(recorder.events.begin(), recorder.events.end(),
                    [](const std::string& e) { return e.starts_with("created sentinel"); }))
                return true;
            dir.file("sentinel" + std::to_string(++sentinel));
            return false;
        },
        60000);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(recorder.saw("created many0"));
    EXPECT_TRUE(monitor.Active());
}

} // namespace
} // namespace quorvane::test
