// Re-entrant many-readers/one-writer lock with writer preference.
#include "reentrant_rw_lock.h"

#include <cassert>

namespace quorvane::lang {

// Rules, all decided under m_mutex:
// - A thread that already holds the shared or the exclusive hold gets the shared hold at
//   once, even while writers wait: making it wait would deadlock, since the writer waits
//   for this very thread to let go.
// - A new reader waits while a writer holds the lock or waits for it, so a stream of
//   readers cannot starve a writer.
// - The writer may take the exclusive hold again.
// - A thread that holds only the shared hold and asks for the exclusive one waits until
//   it is the only reader left. Two readers that both ask for the exclusive hold wait for
//   each other forever; callers must not upgrade from two threads at once.

void ReentrantRwLock::lockShared()
{
    const auto self = std::this_thread::get_id();
    std::unique_lock guard(m_mutex);
    const auto held = m_readers.find(self);
    if (held != m_readers.end()) {
        ++held->second;
        return;
    }
    if (m_writerDepth > 0 && m_writer == self) {
        m_readers.emplace(self, 1);
        return;
    }
    m_changed.wait(guard, [this] { return m_writerDepth == 0 && m_waitingWriters == 0; });
    m_readers.emplace(self, 1);
}

void ReentrantRwLock::unlockShared()
{
    const auto self = std::this_thread::get_id();
    std::lock_guard guard(m_mutex);
    const auto held = m_readers.find(self);
    assert(held != m_readers.end() && "unlockShared without lockShared");
    if (held == m_readers.end())
        return;
    if (--held->second == 0) {
        m_readers.erase(held);
        m_changed.notify_all();
    }
}

void ReentrantRwLock::lock()
{
    const auto self = std::this_thread::get_id();
    std::unique_lock guard(m_mutex);
    if (m_writerDepth > 0 && m_writer == self) {
        ++m_writerDepth;
        return;
    }
    ++m_waitingWriters;
    m_changed.wait(guard, [this, self] {
        const bool noOtherReader
            = m_readers.empty() || (m_readers.size() == 1 && m_readers.begin()->first == self);
        return m_writerDepth == 0 && noOtherReader;
    });
    --m_waitingWriters;
    m_writer = self;
    m_writerDepth = 1;
}

void ReentrantRwLock::unlock()
{
    std::lock_guard guard(m_mutex);
    assert(m_writerDepth > 0 && m_writer == std::this_thread::get_id() && "unlock without lock");
    if (m_writerDepth == 0 || m_writer != std::this_thread::get_id())
        return;
    if (--m_writerDepth == 0) {
        m_writer = std::thread::id();
        m_changed.notify_all();
    }
}

} // namespace quorvane::lang
