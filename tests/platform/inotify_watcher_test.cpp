// The inotify watcher on real directories: records, renames, filters, subtrees, stop, load.
#include "platform/inotify_watcher.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

#include <pthread.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quorvane::platform {

void PrintTo(const ChangeRecord& record, std::ostream* out)
{
    static const char* const kActions[] = { "Created", "Deleted", "Modified", "Renamed" };
    *out << kActions[static_cast<int>(record.action)] << "(" << record.name;
    if (!record.newName.empty())
        *out << " -> " << record.newName;
    *out << ")";
}

} // namespace quorvane::platform

namespace quorvane::test {
namespace {

using namespace std::chrono_literals;
using platform::ChangeAction;
using platform::ChangeBatch;
using platform::ChangeRecord;
using platform::InotifyWatcher;
using Records = std::vector<ChangeRecord>;

constexpr std::uint32_t kDefaultFilters = platform::FileNameFilter | platform::DirNameFilter
    | platform::LastWriteFilter | platform::CreationFilter;

ChangeRecord created(const std::string& name)
{
    return { ChangeAction::Created, name, {} };
}
ChangeRecord deleted(const std::string& name)
{
    return { ChangeAction::Deleted, name, {} };
}
ChangeRecord modified(const std::string& name)
{
    return { ChangeAction::Modified, name, {} };
}
ChangeRecord renamed(const std::string& from, const std::string& to)
{
    return { ChangeAction::Renamed, from, to };
}

std::unique_ptr<InotifyWatcher> openWatcher(
    const std::string& dir, std::uint32_t filters = kDefaultFilters, bool subtree = false)
{
    auto opened = InotifyWatcher::open(dir, filters, subtree);
    if (!opened)
        throw std::runtime_error(opened.error().describe());
    return std::move(opened.value());
}

/// Waits for records until `done` holds; after 20 s the watcher is stopped and whatever
/// arrived is returned, so a missing record fails the test instead of hanging it.
Records collectUntil(InotifyWatcher& watcher, const std::function<bool(const Records&)>& done)
{
    std::mutex mutex;
    std::condition_variable finishedChanged;
    bool finished = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (!finishedChanged.wait_for(lock, 20s, [&] { return finished; }))
            watcher.stop();
    });
    Records all;
    for (;;) {
        ChangeBatch batch = watcher.wait();
        if (batch.stopped)
            break;
        EXPECT_FALSE(batch.records.empty());
        all.insert(all.end(), batch.records.begin(), batch.records.end());
        if (done(all))
            break;
    }
    {
        const std::lock_guard lock(mutex);
        finished = true;
    }
    finishedChanged.notify_all();
    watchdog.join();
    return all;
}

Records collectThrough(InotifyWatcher& watcher, const ChangeRecord& last)
{
    return collectUntil(watcher,
        [&](const Records& all) { return std::find(all.begin(), all.end(), last) != all.end(); });
}

Records withoutModified(const Records& records)
{
    Records names;
    for (const ChangeRecord& record : records) {
        if (record.action != ChangeAction::Modified)
            names.push_back(record);
    }
    return names;
}

TEST(InotifyWatcher, OpeningFailsWithTheSystemsError)
{
    TempDir dir;
    dir.file("plain");
    struct Case
    {
        std::string path;
        std::uint32_t filters;
        int code;
    };
    const Case cases[] = {
        { dir / "missing", kDefaultFilters, ENOENT },
        { dir / "plain", kDefaultFilters, ENOTDIR },
        { "", kDefaultFilters, ENOENT },
        { dir.path(), 0, EINVAL },
    };
    for (const Case& c : cases) {
        auto opened = InotifyWatcher::open(c.path, c.filters, false);
        ASSERT_FALSE(opened.ok()) << c.path;
        EXPECT_EQ(opened.error().code, c.code) << c.path;
    }
}

TEST(InotifyWatcher, ReportsChangesInTheOrderTheyHappened)
{
    TempDir dir;
    auto watcher = openWatcher(dir.path());
    dir.file("a", "contents");
    std::filesystem::rename(dir / "a", dir / "b");
    dir.dir("d");
    std::filesystem::remove(dir / "d");
    std::filesystem::remove(dir / "b");

    const Records all = collectThrough(*watcher, deleted("b"));
    EXPECT_EQ(withoutModified(all),
        (Records { created("a"), renamed("a", "b"), created("d"), deleted("d"), deleted("b") }));
    // Writing the contents comes between the creation and the rename.
    ASSERT_GE(all.size(), 6U);
    EXPECT_EQ(all[1], modified("a"));
}

TEST(InotifyWatcher, RenameHalvesPairUpInsideTheTreeAndStandAloneAcrossItsBorder)
{
    struct Case
    {
        const char* what;
        bool subtree;
        std::string from; // relative to the watched directory, or "@" + relative outside
        std::string to;
        ChangeRecord expected;
    };
    const Case cases[] = {
        { "within", false, "a", "b", renamed("a", "b") },
        { "undecodable bytes kept", false, "caf\xE9", "caf\xC3\xA9",
            renamed("caf\xE9", "caf\xC3\xA9") },
        { "move out", false, "a", "@a", deleted("a") },
        { "move in", false, "@a", "a", created("a") },
        { "into a subdirectory", true, "a", "sub/a", renamed("a", "sub/a") },
        { "into an unwatched subdirectory", false, "a", "sub/a", deleted("a") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        TempDir outside;
        dir.dir("sub");
        const auto place
            = [&](const std::string& p) { return p[0] == '@' ? outside / p.substr(1) : dir / p; };
        writeFile(place(c.from), "x");
        auto watcher = openWatcher(dir.path(), platform::FileNameFilter, c.subtree);
        std::filesystem::rename(place(c.from), place(c.to));
        dir.file("sentinel");
        EXPECT_EQ(collectThrough(*watcher, created("sentinel")),
            (Records { c.expected, created("sentinel") }));
    }
}

TEST(InotifyWatcher, FiltersChooseWhatIsReported)
{
    using Step = std::function<void(const TempDir&)>;
    const auto chmodTo = [](mode_t mode) {
        return [mode](const TempDir& d) { ::chmod((d / "e").c_str(), mode); };
    };
    const Step append = [](const TempDir& d) { std::ofstream(d / "e", std::ios::app) << "more"; };
    const Step read = [](const TempDir& d) { (void)d.read("e"); };
    struct Case
    {
        const char* what;
        std::uint32_t filters;
        Step ignored; // a change the filters do not report
        Step reported;
        ChangeRecord expected;
    };
    const Case cases[] = {
        { "dir names", platform::DirNameFilter, [](const TempDir& d) { d.file("f"); },
            [](const TempDir& d) { d.dir("s"); }, created("s") },
        { "file names", platform::FileNameFilter, [](const TempDir& d) { d.dir("s"); },
            [](const TempDir& d) { d.file("f"); }, created("f") },
        { "attributes", platform::AttributesFilter, append, chmodTo(0600), modified("e") },
        { "security", platform::SecurityFilter, append, chmodTo(0600), modified("e") },
        { "last write", platform::LastWriteFilter, chmodTo(0600), append, modified("e") },
        { "size", platform::SizeFilter, chmodTo(0600), append, modified("e") },
        { "last access", platform::LastAccessFilter, chmodTo(0600), read, modified("e") },
        { "creation", platform::CreationFilter,
            [](const TempDir& d) { std::filesystem::rename(d / "e", d / "e2"); },
            [](const TempDir& d) { d.dir("s"); }, created("s") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.file("e", "x");
        auto watcher = openWatcher(dir.path(), c.filters);
        c.ignored(dir);
        c.reported(dir);
        const Records all = collectUntil(*watcher, [](const Records&) { return true; });
        ASSERT_FALSE(all.empty());
        EXPECT_EQ(all.front(), c.expected);
    }
}

TEST(InotifyWatcher, SubtreeFollowsSubdirectoriesThatComeGoAndMove)
{
    TempDir dir;
    TempDir outside;
    dir.dir("old/deep");
    auto watcher = openWatcher(dir.path(), kDefaultFilters, true);
    const auto step = [&](const std::function<void()>& change, const ChangeRecord& expected) {
        change();
        const Records all = collectThrough(*watcher, expected);
        EXPECT_EQ(withoutModified(all), Records { expected });
    };
    step([&] { dir.file("old/deep/f"); }, created("old/deep/f"));
    step([&] { dir.dir("new"); }, created("new"));
    step([&] { dir.file("new/g"); }, created("new/g"));
    step([&] { std::filesystem::rename(dir / "new", dir / "renamed"); }, renamed("new", "renamed"));
    step([&] { dir.file("renamed/h"); }, created("renamed/h"));
    step([&] { std::filesystem::rename(dir / "old", outside / "old"); }, deleted("old"));
    outside.file("old/deep/gone");
    step([&] { dir.file("sentinel"); }, created("sentinel"));
}

TEST(InotifyWatcher, WithoutSubtreeSubdirectoriesAreNotWatched)
{
    TempDir dir;
    dir.dir("sub");
    auto watcher = openWatcher(dir.path());
    dir.file("sub/f");
    dir.file("sentinel");
    EXPECT_EQ(withoutModified(collectThrough(*watcher, created("sentinel"))),
        Records { created("sentinel") });
}

/// True while the kernel has thread `tid` of this process asleep in poll() or ppoll(); the
/// thread's syscall file reads "running" while it runs.
bool asleepInPoll(pid_t tid)
{
    std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/syscall");
    long number = -1;
    return static_cast<bool>(in >> number) && (number == SYS_poll || number == SYS_ppoll);
}

/// Whether this kernel shows where a thread sleeps.
bool threadStatesVisible()
{
    return std::ifstream("/proc/self/task/" + std::to_string(::gettid()) + "/syscall").good();
}

/// A thread blocked in watcher.wait(), whose state in the kernel a test can look at.
class Waiter
{
public:
    explicit Waiter(InotifyWatcher& watcher)
        : m_watcher(watcher)
        , m_thread([this] {
            m_tid = ::gettid();
            m_batch = m_watcher.wait();
        })
    { }
    /// Stops the watcher, so that a test that failed early does not hang here.
    ~Waiter()
    {
        m_watcher.stop();
        (void)join();
    }
    Waiter(const Waiter&) = delete;
    Waiter& operator=(const Waiter&) = delete;
    Waiter(Waiter&&) = delete;
    Waiter& operator=(Waiter&&) = delete;

    /// Waits until the thread sleeps in poll() inside wait(), the moment a stop has to wake it
    /// from; false when it is not there within 20 s.
    [[nodiscard]] bool waitUntilWaiting() const
    {
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (m_tid == 0 || !asleepInPoll(m_tid)) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }
    [[nodiscard]] bool stillWaiting() const { return asleepInPoll(m_tid); }
    /// The processor time the thread has used so far, in seconds; -1 when it cannot be read.
    [[nodiscard]] double cpuSeconds()
    {
        clockid_t clock {};
        timespec used {};
        if (::pthread_getcpuclockid(m_thread.native_handle(), &clock) != 0
            || ::clock_gettime(clock, &used) != 0)
            return -1;
        return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
    }
    /// Waits for the thread to end and gives what wait() returned.
    [[nodiscard]] const ChangeBatch& join()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_batch;
    }

private:
    InotifyWatcher& m_watcher;
    std::atomic<pid_t> m_tid = 0;
    ChangeBatch m_batch;
    std::thread m_thread; // last: it starts once the members it writes exist
};

TEST(InotifyWatcher, StopWakesAWaitingThreadAndStaysInForce)
{
    if (!threadStatesVisible())
        GTEST_SKIP() << "the kernel does not show where a thread sleeps";
    TempDir dir;
    auto watcher = openWatcher(dir.path());
    Waiter waiter(*watcher);
    ASSERT_TRUE(waiter.waitUntilWaiting());
    watcher->stop();
    const ChangeBatch& seen = waiter.join();
    EXPECT_TRUE(seen.stopped);
    EXPECT_TRUE(seen.records.empty());

    dir.file("pending"); // changes waiting in the queue do not outrank the stop
    EXPECT_TRUE(watcher->wait().stopped);
}

TEST(InotifyWatcher, AnIdleWaitUsesNoProcessorTime)
{
    if (!threadStatesVisible())
        GTEST_SKIP() << "the kernel does not show where a thread sleeps";
    TempDir dir;
    auto watcher = openWatcher(dir.path(), kDefaultFilters, true);
    Waiter waiter(*watcher);
    ASSERT_TRUE(waiter.waitUntilWaiting());
    // One second measured from the moment the wait really waits, so that starting the thread
    // is not counted and the second is not spent before the wait began.
    const double before = waiter.cpuSeconds();
    std::this_thread::sleep_for(1s);
    const double after = waiter.cpuSeconds();
    EXPECT_TRUE(waiter.stillWaiting()) << "nothing changed, so the wait must not have returned";
    watcher->stop();
    EXPECT_TRUE(waiter.join().stopped);
    ASSERT_GE(before, 0);
    // Sleeping in the kernel costs microseconds; waking even once a millisecond to look
    // costs milliseconds.
    EXPECT_LT(after - before, 0.005);
}

TEST(InotifyWatcher, ChangesFromAnotherThreadArriveInOrder)
{
    TempDir dir;
    auto watcher = openWatcher(dir.path(), platform::FileNameFilter);
    constexpr int kFiles = 300;
    std::thread writer([&] {
        for (int i = 0; i < kFiles; ++i)
            dir.file("f" + std::to_string(i));
    });
    const Records all = collectUntil(
        *watcher, [](const Records& r) { return r.size() >= static_cast<std::size_t>(kFiles); });
    writer.join();
    ASSERT_EQ(all.size(), static_cast<std::size_t>(kFiles));
    for (int i = 0; i < kFiles; ++i)
        EXPECT_EQ(all[static_cast<std::size_t>(i)], created("f" + std::to_string(i)));
}

TEST(InotifyWatcher, AnOverflowLosesRecordsButNotTheWatch)
{
    const int queueLimit = std::stoi(readFile("/proc/sys/fs/inotify/max_queued_events"));
    if (queueLimit > 100000)
        GTEST_SKIP() << "the kernel queue is too long to fill quickly";
    TempDir dir;
    auto watcher = openWatcher(dir.path());
    // Each file queues three events: created, written, closed after writing.
    const int files = queueLimit / 3 + 1000;
    for (int i = 0; i < files; ++i)
        writeFile(dir / ("f" + std::to_string(i)), "x");

    // The queue was full when the last files came; new changes are seen once it drains.
    std::atomic<bool> seen = false;
    std::thread prodder([&] {
        for (int i = 0; !seen && i < 400; ++i) {
            dir.file("s" + std::to_string(i));
            std::this_thread::sleep_for(50ms);
        }
    });
    const Records all
        = collectUntil(*watcher, [](const Records& r) { return r.back().name.starts_with("s"); });
    seen = true;
    prodder.join();
    ASSERT_FALSE(all.empty());
    EXPECT_TRUE(all.back().name.starts_with("s"));
    EXPECT_LT(all.size(), static_cast<std::size_t>(3 * files));
    EXPECT_EQ(all.front(), created("f0"));
}

} // namespace
} // namespace quorvane::test
