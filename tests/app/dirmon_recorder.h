// Test helpers for the directory monitor: a recorder of its signals, a background writer.
#pragma once

#include "app/tdirmon.h"
#include "app/twait_thread.h"
#include "platform/name_codec.h"

#include <QCoreApplication>
#include <QObject>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace quorvane::test {

inline constexpr int kTimeoutMs = 20000;

inline std::u32string dirPath(const std::string& path)
{
    return platform::decodeName(path);
}

/// Every signal of a monitor as "created a", "renamed a b" ..., in the order of arrival.
class Recorder
{
public:
    explicit Recorder(app::TDirMon& monitor)
    {
        const auto single = [this](const char* kind) {
            return [this, kind](const std::u32string& name) {
                add(std::string(kind) + " " + platform::encodeName(name));
            };
        };
        QObject::connect(&monitor, &app::TDirMon::Created, &m_context, single("created"));
        QObject::connect(&monitor, &app::TDirMon::Deleted, &m_context, single("deleted"));
        QObject::connect(&monitor, &app::TDirMon::Modified, &m_context, single("modified"));
        QObject::connect(&monitor, &app::TDirMon::Renamed, &m_context,
            [this](const std::u32string& from, const std::u32string& to) {
                add("renamed " + platform::encodeName(from) + " " + platform::encodeName(to));
            });
    }

    std::vector<std::string> events;
    bool onGuiThreadOnly = true;

    [[nodiscard]] bool saw(const std::string& event) const
    {
        return std::find(events.begin(), events.end(), event) != events.end();
    }
    /// Runs the event loop until `event` has arrived or the time is up.
    [[nodiscard]] bool waitFor(const std::string& event) const
    {
        return QTest::qWaitFor([&] { return saw(event); }, kTimeoutMs);
    }
    [[nodiscard]] std::vector<std::string> withoutModified() const
    {
        std::vector<std::string> kept;
        std::copy_if(events.begin(), events.end(), std::back_inserter(kept),
            [](const std::string& e) { return !e.starts_with("modified "); });
        return kept;
    }

private:
    void add(std::string event)
    {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            onGuiThreadOnly = false;
        events.push_back(std::move(event));
    }

    QObject m_context;
};

/// Runs `step(i)` for i = 0, 1, 2 ... on another thread until destroyed.
class BackgroundWriter
{
public:
    explicit BackgroundWriter(std::function<void(int)> step)
        : m_thread([this, step = std::move(step)] {
            for (int i = 0; !m_stop; ++i)
                step(i);
        })
    { }
    ~BackgroundWriter()
    {
        m_stop = true;
        m_thread.join();
    }
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

private:
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

/// Blocks until the monitor's worker has posted a batch to the GUI thread and sleeps until it is
/// dispatched. Called on the GUI thread, it leaves the batch undelivered until events are
/// processed; false when the monitor is inactive or no batch came in time.
[[nodiscard]] inline bool waitForHandOver(const app::TDirMon& monitor)
{
    const app::TWaitThread* worker = monitor.worker();
    return worker != nullptr
        && worker->waitForStage(
            app::TWaitThread::Stage::HandingOver, std::chrono::milliseconds(kTimeoutMs));
}

/// Points the monitor at `path` and starts it.
inline void startOn(app::TDirMon& monitor, const std::string& path)
{
    monitor.setPath(dirPath(path));
    monitor.setActive(true);
    ASSERT_TRUE(monitor.Active());
}

} // namespace quorvane::test
