// The directory monitor's worker: waits for changes and hands each batch to the GUI thread.
#pragma once

#include "platform/inotify_watcher.h"

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

class QObject;

namespace quorvane::app {

/// One watch's worker thread. It waits for a batch of changes, posts the batch to the
/// thread of `context` (the GUI thread), and blocks until `dispatch` has been called there
/// for every record, in order; only then does it wait for the next batch. So a batch is never
/// dispatched while an earlier one still is, even when a handler runs a nested event loop.
///
/// Hand-over protocol (one shared HandOver per worker, guarded by its mutex):
///   worker:  wait() → [stopping? end] put the batch, clear `dispatched` → post delivery →
///            sleep until `dispatched` or `stopping` → [stopping? end] → wait() again.
///   GUI:     delivery: [stopping? drop the batch] take the batch, dispatch record by record
///            (checking `stopping` before each one), then set `dispatched` and wake the worker.
///   stop():  set `stopping` and wake the worker, write the watcher's stop descriptor, join.
/// stop() never needs the GUI thread, so it cannot deadlock against a pending hand-over, also
/// when it is called from inside a dispatch; a delivery that arrives after stop() finds
/// `stopping` set and dispatches nothing.
class TWaitThread
{
public:
    using Dispatch = std::function<void(const platform::ChangeRecord&)>;

    /// Where the worker is in its loop.
    enum class Stage {
        Starting, ///< not yet waiting for the first batch
        WaitingForChanges, ///< about to enter, or inside, InotifyWatcher::wait()
        HandingOver, ///< a batch is posted to the GUI thread; sleeping until it is dispatched
    };

    /// Starts the worker at once. `context` must live on the GUI thread and outlive this
    /// object; `dispatch` is only ever called on that thread. Throws std::system_error when
    /// no thread can be created.
    TWaitThread(
        QObject& context, std::unique_ptr<platform::InotifyWatcher> watcher, Dispatch dispatch);
    /// Stops the worker (see stop()).
    ~TWaitThread();
    TWaitThread(const TWaitThread&) = delete;
    TWaitThread& operator=(const TWaitThread&) = delete;
    TWaitThread(TWaitThread&&) = delete;
    TWaitThread& operator=(TWaitThread&&) = delete;

    /// Ends the worker and waits for it; afterwards nothing more is dispatched, not even the
    /// rest of a batch being dispatched now. Call it on the GUI thread; calling it again does
    /// nothing.
    void stop();

    /// Blocks the calling thread until the worker is at `stage` or `timeout` has passed; true
    /// when it is there. Lets a caller act at a known point of the hand-over (stop while a batch
    /// is posted, say) instead of guessing with a sleep. Safe on any thread; called on the GUI
    /// thread while HandingOver, it keeps the batch from being dispatched meanwhile.
    [[nodiscard]] bool waitForStage(Stage stage, std::chrono::milliseconds timeout) const;

private:
    class HandOver;

    void run();

    QObject& m_context;
    std::unique_ptr<platform::InotifyWatcher> m_watcher;
    std::shared_ptr<HandOver> m_handOver;
    std::thread m_thread;
};

} // namespace quorvane::app
