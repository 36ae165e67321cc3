// Tests of the re-entrant shared/exclusive lock, each step run on a chosen thread with a
// deadline so that a faulty lock fails the test instead of hanging it.
#include "lang/reentrant_rw_lock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <future>
#include <memory>

using quorvane::lang::ReentrantRwLock;
using namespace std::chrono_literals;

namespace {

/// A thread that runs posted steps in order; posting returns the step's future.
class Actor
{
public:
    Actor()
        : m_queue(std::make_shared<Queue>())
        , m_thread([queue = m_queue] { queue->run(); })
    { }
    ~Actor()
    {
        auto done = post([] {});
        m_queue->post(nullptr);
        // A thread stuck in the lock cannot be joined; the test has failed already.
        if (done.wait_for(2s) == std::future_status::ready)
            m_thread.join();
        else
            m_thread.detach();
    }
    Actor(const Actor&) = delete;
    Actor& operator=(const Actor&) = delete;

    std::future<void> post(std::function<void()> step)
    {
        auto task = std::make_shared<std::packaged_task<void()>>(std::move(step));
        auto result = task->get_future();
        m_queue->post([task] { (*task)(); });
        return result;
    }

private:
    struct Queue
    {
        std::mutex mutex;
        std::condition_variable ready;
        std::deque<std::function<void()>> steps;

        void post(std::function<void()> step)
        {
            const std::lock_guard guard(mutex);
            steps.push_back(std::move(step));
            ready.notify_one();
        }
        void run()
        {
            for (;;) {
                std::unique_lock guard(mutex);
                ready.wait(guard, [this] { return !steps.empty(); });
                auto step = std::move(steps.front());
                steps.pop_front();
                guard.unlock();
                if (!step)
                    return;
                step();
            }
        }
    };
    std::shared_ptr<Queue> m_queue;
    std::thread m_thread;
};

bool finishes(std::future<void>& f)
{
    return f.wait_for(5s) == std::future_status::ready;
}

bool blocks(std::future<void>& f)
{
    return f.wait_for(150ms) == std::future_status::timeout;
}

struct LockTest : ::testing::Test
{
    // Owned jointly with the steps, so a thread left stuck by a failing test never
    // touches a destroyed lock.
    std::shared_ptr<ReentrantRwLock> rw = std::make_shared<ReentrantRwLock>();
    [[nodiscard]] std::function<void()> shared() const
    {
        return [l = rw] { l->lockShared(); };
    }
    [[nodiscard]] std::function<void()> unshared() const
    {
        return [l = rw] { l->unlockShared(); };
    }
    [[nodiscard]] std::function<void()> exclusive() const
    {
        return [l = rw] { l->lock(); };
    }
    [[nodiscard]] std::function<void()> unexclusive() const
    {
        return [l = rw] { l->unlock(); };
    }
};

} // namespace

TEST_F(LockTest, ReaderRetakesSharedWhileAWriterWaitsButNewReadersQueue)
{
    Actor reader;
    Actor writer;
    Actor newcomer;
    auto first = reader.post(shared());
    ASSERT_TRUE(finishes(first));
    auto wantsExclusive = writer.post(exclusive());
    ASSERT_TRUE(blocks(wantsExclusive));
    auto again = reader.post(shared());
    ASSERT_TRUE(finishes(again)) << "re-entrant shared hold deadlocked behind a waiting writer";
    auto late = newcomer.post(shared());
    ASSERT_TRUE(blocks(late)) << "a new reader overtook a waiting writer";

    reader.post(unshared());
    auto released = reader.post(unshared());
    ASSERT_TRUE(finishes(released));
    ASSERT_TRUE(finishes(wantsExclusive));
    EXPECT_TRUE(blocks(late));
    writer.post(unexclusive());
    EXPECT_TRUE(finishes(late));
    newcomer.post(unshared());
}

TEST_F(LockTest, WriterRetakesExclusiveAndTakesShared)
{
    Actor writer;
    Actor reader;
    writer.post(exclusive());
    writer.post(exclusive());
    auto nested = writer.post(shared());
    ASSERT_TRUE(finishes(nested));
    auto waiting = reader.post(shared());
    ASSERT_TRUE(blocks(waiting));
    writer.post(unshared());
    writer.post(unexclusive());
    EXPECT_TRUE(blocks(waiting)) << "inner unlock released the outer exclusive hold";
    writer.post(unexclusive());
    EXPECT_TRUE(finishes(waiting));
    reader.post(unshared());
}

TEST_F(LockTest, ExclusiveExcludesEveryoneAndWritersGoFirst)
{
    Actor first;
    Actor second;
    Actor reader1;
    Actor reader2;
    auto firstHolds = first.post(exclusive());
    ASSERT_TRUE(finishes(firstHolds));
    auto secondWaits = second.post(exclusive());
    auto readerWaits = reader1.post(shared());
    ASSERT_TRUE(blocks(secondWaits));
    ASSERT_TRUE(blocks(readerWaits));
    first.post(unexclusive());
    ASSERT_TRUE(finishes(secondWaits));
    EXPECT_TRUE(blocks(readerWaits));
    second.post(unexclusive());
    ASSERT_TRUE(finishes(readerWaits));
    // Readers share the lock with each other.
    auto secondReader = reader2.post(shared());
    EXPECT_TRUE(finishes(secondReader));
    reader1.post(unshared());
    reader2.post(unshared());
}

TEST_F(LockTest, ReaderAskingForExclusiveWaitsUntilItIsTheOnlyReader)
{
    Actor upgrader;
    Actor other;
    upgrader.post(shared());
    auto otherHolds = other.post(shared());
    ASSERT_TRUE(finishes(otherHolds));
    auto upgraded = upgrader.post(exclusive());
    ASSERT_TRUE(blocks(upgraded));
    other.post(unshared());
    ASSERT_TRUE(finishes(upgraded));
    upgrader.post(unexclusive());
    upgrader.post(unshared());
    auto after = other.post(exclusive());
    EXPECT_TRUE(finishes(after));
    other.post(unexclusive());
}
