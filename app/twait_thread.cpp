// The directory monitor's worker: waits for changes and hands each batch to the GUI thread.
#include "twait_thread.h"

#include <QMetaObject>
#include <QObject>
#include <QScopeGuard>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

namespace quorvane::app {

/// The state the worker and the GUI thread share; it outlives the worker for as long as a
/// posted delivery still refers to it.
class TWaitThread::HandOver
{
public:
    explicit HandOver(Dispatch dispatch)
        : m_dispatch(std::move(dispatch))
    { }

    /// Worker: parks `records` for the GUI thread; false when stopping.
    [[nodiscard]] bool offer(std::vector<platform::ChangeRecord> records)
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping)
            return false;
        m_batch = std::move(records);
        m_dispatched = false;
        return true;
    }

    /// Worker: sleeps until the parked batch has been dispatched; false when stopping.
    [[nodiscard]] bool awaitDispatched()
    {
        std::unique_lock lock(m_mutex);
        setStage(Stage::HandingOver);
        m_changed.wait(lock, [this] { return m_dispatched || m_stopping; });
        return !m_stopping;
    }

    /// Worker: about to wait for the next batch.
    void enterWaitingForChanges()
    {
        const std::lock_guard lock(m_mutex);
        setStage(Stage::WaitingForChanges);
    }

    /// Any thread: see TWaitThread::waitForStage.
    [[nodiscard]] bool waitForStage(Stage stage, std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        return m_stageChanged.wait_for(lock, timeout, [&] { return m_stage == stage; });
    }

    /// GUI thread: dispatches the parked batch unless the worker has been stopped.
    void deliver()
    {
        std::vector<platform::ChangeRecord> batch;
        {
            const std::lock_guard lock(m_mutex);
            if (m_stopping)
                return; // posted before a stop, arrived after it: nobody wants it now
            batch.swap(m_batch);
        }
        // Even when a handler throws, the worker must learn that the batch is done.
        const auto done = qScopeGuard([this] {
            {
                const std::lock_guard lock(m_mutex);
                m_dispatched = true;
            }
            m_changed.notify_all();
        });
        for (const platform::ChangeRecord& record : batch) {
            if (stopping())
                break; // a handler stopped or restarted the monitor
            m_dispatch(record);
        }
    }

    /// GUI thread: releases a worker waiting for its hand-over and drops later deliveries.
    void requestStop()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_all();
    }

private:
    [[nodiscard]] bool stopping()
    {
        const std::lock_guard lock(m_mutex);
        return m_stopping;
    }

    // Called with m_mutex held. Observers have their own condition so that announcing a stage
    // never wakes the worker's own wait.
    void setStage(Stage stage)
    {
        m_stage = stage;
        m_stageChanged.notify_all();
    }

    const Dispatch m_dispatch;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::condition_variable m_stageChanged;
    Stage m_stage = Stage::Starting;
    bool m_stopping = false;
    bool m_dispatched = true;
    std::vector<platform::ChangeRecord> m_batch;
};

TWaitThread::TWaitThread(
    QObject& context, std::unique_ptr<platform::InotifyWatcher> watcher, Dispatch dispatch)
    : m_context(context)
    , m_watcher(std::move(watcher))
    , m_handOver(std::make_shared<HandOver>(std::move(dispatch)))
    , m_thread(&TWaitThread::run, this)
{ }

TWaitThread::~TWaitThread()
{
    stop();
}

void TWaitThread::stop()
{
    if (!m_thread.joinable())
        return;
    m_handOver->requestStop(); // wakes a worker waiting for its hand-over
    m_watcher->stop(); // wakes a worker waiting for changes
    m_thread.join();
}

bool TWaitThread::waitForStage(Stage stage, std::chrono::milliseconds timeout) const
{
    return m_handOver->waitForStage(stage, timeout);
}

void TWaitThread::run()
{
    for (;;) {
        m_handOver->enterWaitingForChanges();
        platform::ChangeBatch batch = m_watcher->wait();
        if (batch.stopped || !m_handOver->offer(std::move(batch.records)))
            return;
        // Queued to the context's thread; if the context dies first, Qt drops the call.
        QMetaObject::invokeMethod(
            &m_context, [handOver = m_handOver] { handOver->deliver(); }, Qt::QueuedConnection);
        if (!m_handOver->awaitDispatched())
            return;
    }
}

} // namespace quorvane::app
