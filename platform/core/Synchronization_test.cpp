#include "platform/core/DispatchGroup.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/core/Semaphore.h"
#include "platform/core/Thread.h"

#include <vector>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace core {
namespace {

struct SynchronizationTest : ::testing::Test {
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    MainLoop loop{clock};
    const TimePoint start = clock->now();

    // Moves the clock to `deadline` from another thread as soon as some wait has set an alarm for it,
    // so that a timed wait on this thread can be released without sleeping.
    Thread expireAt(TimePoint deadline) {
        return Thread("test.expire", [this, deadline] {
            while (!clock->fireNext(deadline))
                std::this_thread::yield();
        });
    }
};

TEST_F(SynchronizationTest, SemaphoreTryWaitNeverBlocks) {
    Semaphore semaphore(1);
    EXPECT_TRUE(semaphore.tryWait());
    EXPECT_FALSE(semaphore.tryWait());
    semaphore.signal();
    EXPECT_TRUE(semaphore.tryWait());
}

TEST_F(SynchronizationTest, SemaphoreTimedWaitGivesUpExactlyAtTheDeadlineOfTheClock) {
    Semaphore semaphore;
    Thread expiry = expireAt(start + 5s);
    EXPECT_FALSE(semaphore.waitFor(5s));
    EXPECT_EQ(clock->now(), start + 5s);
    expiry.join();
    semaphore.signal();
    EXPECT_TRUE(semaphore.waitFor(5s)) << "an available count is taken without waiting";
    EXPECT_EQ(clock->now(), start + 5s);
}

TEST_F(SynchronizationTest, SemaphoreTimedWaitEndsWhenSignalledFromAnotherThread) {
    Semaphore semaphore;
    const auto worker = DispatchQueue::serial("test.signaller");
    worker->async([&] { semaphore.signal(); });
    EXPECT_TRUE(semaphore.waitFor(1h));
    EXPECT_EQ(clock->now(), start);
}

TEST_F(SynchronizationTest, GroupNotifiesOnceEveryTaskHasLeft) {
    DispatchGroup group;
    const auto worker = DispatchQueue::serial("test.group");
    std::vector<std::string> events;
    group.enter();
    group.async(worker, [&] { events.push_back("worker task"); });
    group.notify(DispatchQueue::main(), [&] { events.push_back("notified"); });
    worker->sync([] {});
    loop.runUntilIdle();
    EXPECT_EQ(events, std::vector<std::string>{"worker task"}) << "one task has not left yet";
    group.leave();
    loop.runUntilIdle();
    EXPECT_EQ(events, (std::vector<std::string>{"worker task", "notified"}));
    group.notify(DispatchQueue::main(), [&] { events.push_back("empty group"); });
    loop.runUntilIdle();
    EXPECT_EQ(events.back(), "empty group");
}

TEST_F(SynchronizationTest, GroupTimedWaitGivesUpWhileATaskIsStillRunning) {
    DispatchGroup group;
    Semaphore release;
    group.async(DispatchQueue::global(), [&] { release.wait(); });
    Thread expiry = expireAt(start + 5s);
    EXPECT_FALSE(group.waitFor(5s));
    expiry.join();
    release.signal();
    group.wait();
    EXPECT_TRUE(group.waitFor(0s));
}

TEST_F(SynchronizationTest, GroupHandleMayBeDroppedWhileItsWorkRuns) {
    Semaphore release;
    Semaphore notified;
    {
        DispatchGroup group;
        group.async(DispatchQueue::global(), [&] { release.wait(); });
        group.notify(DispatchQueue::serial("test.notified"), [&] { notified.signal(); });
    }
    release.signal();
    notified.wait();
}

} // namespace
} // namespace core
