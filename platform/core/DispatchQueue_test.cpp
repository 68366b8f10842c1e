#include "platform/core/DispatchGroup.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/core/Semaphore.h"

#include <atomic>
#include <vector>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace core {
namespace {

struct DispatchQueueTest : ::testing::Test {
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    MainLoop loop{clock};
    std::shared_ptr<DispatchQueue> worker = DispatchQueue::serial("test.worker");
};

TEST_F(DispatchQueueTest, SerialQueueRunsWorkOneAfterAnotherInOrderOnItsOwnThread) {
    std::vector<int> order; // touched only on the worker
    bool alwaysOnWorker = true;
    for (int i = 0; i < 100; ++i)
        worker->async([&, i] {
            alwaysOnWorker = alwaysOnWorker && worker->isCurrent();
            order.push_back(i);
        });
    worker->sync([] {});
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_TRUE(alwaysOnWorker);
    EXPECT_FALSE(worker->isCurrent());
    EXPECT_EQ(worker->label(), "test.worker");
}

TEST_F(DispatchQueueTest, SyncOnTheQueueItselfRunsInlineInsteadOfDeadlocking) {
    std::vector<std::string> order;
    worker->sync([&] {
        order.push_back("outer");
        worker->sync([&] { order.push_back("inner"); });
        order.push_back("after inner");
    });
    EXPECT_EQ(order, (std::vector<std::string>{"outer", "inner", "after inner"}));
}

TEST_F(DispatchQueueTest, WorkHopsFromABackgroundQueueBackToTheMainQueue) {
    int result = 0;
    bool deliveredOnMain = false;
    worker->async([&] {
        const int computed = 6 * 7; // the background part
        DispatchQueue::main()->async([&, computed] {
            deliveredOnMain = DispatchQueue::main()->isCurrent();
            result = computed;
        });
    });
    worker->sync([] {});
    EXPECT_EQ(result, 0) << "main-queue work waits for the main loop";
    loop.runUntilIdle();
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(deliveredOnMain);
}

TEST_F(DispatchQueueTest, AfterOnABackgroundQueueWaitsForTheManualClock) {
    std::atomic<bool> ran = false;
    worker->after(600s, [&] { ran = true; });
    loop.advanceBy(599s);
    worker->sync([] {});
    EXPECT_FALSE(ran);
    loop.advanceBy(1s);
    worker->sync([] {});
    EXPECT_TRUE(ran);
}

TEST_F(DispatchQueueTest, DelayedWorkForAQueueThatIsGoneIsDropped) {
    bool ran = false;
    worker->after(1s, [&] { ran = true; });
    worker.reset();
    loop.advanceBy(1s);
    EXPECT_FALSE(ran);
}

TEST_F(DispatchQueueTest, QueueMayBeReleasedByItsOwnWork) {
    Semaphore done;
    auto queue = DispatchQueue::serial("test.self-release");
    queue->async([&done, queue = std::move(queue)]() mutable {
        queue.reset();
        done.signal();
    });
    done.wait();
}

TEST_F(DispatchQueueTest, DestroyingAQueueRunsTheWorkAlreadySubmitted) {
    std::atomic<int> ran = 0;
    for (int i = 0; i < 10; ++i)
        worker->async([&] { ++ran; });
    worker.reset();
    EXPECT_EQ(ran, 10);
}

TEST_F(DispatchQueueTest, GlobalQueueRunsWorkSideBySide) {
    // Each task can only finish once the other has started: a serial queue would never finish.
    Semaphore firstStarted;
    Semaphore secondStarted;
    DispatchGroup group;
    const auto global = DispatchQueue::global();
    group.async(global, [&] {
        firstStarted.signal();
        secondStarted.wait();
    });
    group.async(global, [&] {
        secondStarted.signal();
        firstStarted.wait();
    });
    group.wait();
    bool current = false;
    global->sync([&] { current = DispatchQueue::global()->isCurrent(); });
    EXPECT_TRUE(current);
    EXPECT_FALSE(global->isCurrent());
}

} // namespace
} // namespace core
