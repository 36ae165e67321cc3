// A many-readers/one-writer lock that a thread may take again while it holds it.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace quorvane::lang {

/// Re-entrant shared/exclusive lock: a reader may take the shared hold again (even while
/// a writer waits), the writer may take the exclusive hold again and may take the shared
/// hold. Writers are preferred over new readers so they cannot starve.
class ReentrantRwLock
{
public:
    void lockShared();
    void unlockShared();
    void lock();
    void unlock();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::thread::id, int> m_readers;
    std::thread::id m_writer;
    int m_writerDepth = 0;
    int m_waitingWriters = 0;
};

/// Holds the shared side for a scope.
class SharedHold
{
public:
    explicit SharedHold(ReentrantRwLock& lock)
        : m_lock(lock)
    {
        m_lock.lockShared();
    }
    ~SharedHold() { m_lock.unlockShared(); }
    SharedHold(const SharedHold&) = delete;
    SharedHold& operator=(const SharedHold&) = delete;

private:
    ReentrantRwLock& m_lock;
};

/// Holds the exclusive side for a scope.
class ExclusiveHold
{
public:
    explicit ExclusiveHold(ReentrantRwLock& lock)
        : m_lock(lock)
    {
        m_lock.lock();
    }
    ~ExclusiveHold() { m_lock.unlock(); }
    ExclusiveHold(const ExclusiveHold&) = delete;
    ExclusiveHold& operator=(const ExclusiveHold&) = delete;

private:
    ReentrantRwLock& m_lock;
};

} // namespace quorvane::lang
