#include "platform/core/DispatchQueue.h"
#include "platform/core/Operation.h"
#include "platform/core/OperationQueue.h"
#include "platform/core/Semaphore.h"
#include "platform/core/testsupport/Timeline.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace core {
namespace {

// An asynchronous operation that finishes on the main queue after a delay, like the pauses of a
// demonstrated gesture.
class DelayOperation final : public Operation {
public:
    explicit DelayOperation(Duration duration)
        : m_duration(duration) {}

protected:
    void start() override {
        // The timer holds the operation until it finishes it.
        DispatchQueue::main()->after(m_duration, [this, self = shared_from_this()] { finish(); });
    }

private:
    Duration m_duration;
};

// An asynchronous operation that finishes when the test calls the finisher it hands out.
class ManualOperation final : public Operation {
public:
    explicit ManualOperation(std::function<void()>& finisher)
        : m_finisher(finisher) {}

protected:
    void start() override {
        m_finisher = [this, self = shared_from_this()] { finish(); };
    }

private:
    std::function<void()>& m_finisher;
};

struct OperationQueueTest : testing::TimelineTest {
    OperationQueueTest() { loop.setCooperativeOperationQueues(true); }
};

// The shape of a demonstration: every gesture is built on a new suspended queue, paced by delays, hands
// its touches to the main queue, and its last operation chooses the next gesture, replacing the queue
// that is running it.
TEST_F(OperationQueueTest, PacedGesturesRunDeterministicallyOnTheManualClock) {
    std::shared_ptr<OperationQueue> queue;
    int gestures = 0;
    std::function<void()> playGesture = [&] {
        queue = std::make_shared<OperationQueue>();
        queue->setSuspended(true);
        queue->addOperation(std::make_shared<DelayOperation>(250ms));
        queue->addOperation([&] { DispatchQueue::main()->async([&] { note("press"); }); });
        queue->addOperation(std::make_shared<DelayOperation>(500ms));
        queue->addOperation([&] { DispatchQueue::main()->async([&] { note("lift"); }); });
        queue->addOperation(std::make_shared<DelayOperation>(500ms));
        queue->addOperation([&] {
            note("final call");
            if (++gestures < 2)
                playGesture();
        });
        queue->setSuspended(false);
    };
    playGesture();
    loop.advanceBy(10s);
    EXPECT_EQ(events, (std::vector<std::string>{"press@250", "lift@750", "final call@1250", "press@1500",
                                                "lift@2000", "final call@2500"}));
}

TEST_F(OperationQueueTest, SuspendedQueueStartsNothingNewUntilResumed) {
    OperationQueue queue;
    queue.addOperation(std::make_shared<DelayOperation>(1s));
    queue.addOperation([&] { note("second"); });
    loop.advanceBy(100ms);
    queue.setSuspended(true);
    EXPECT_TRUE(queue.isSuspended());
    loop.advanceBy(5s);
    EXPECT_TRUE(events.empty()) << "the running delay ended at 1s, but nothing new may start";
    queue.setSuspended(false);
    loop.runUntilIdle();
    EXPECT_EQ(events, std::vector<std::string>{"second@5100"});
}

TEST_F(OperationQueueTest, CancelAllDropsWhatHasNotStartedAndLetsTheRunningOperationFinish) {
    OperationQueue queue;
    const auto running = std::make_shared<DelayOperation>(500ms);
    const auto waiting = std::make_shared<BlockOperation>([&] { note("dropped"); });
    queue.addOperation(running);
    queue.addOperation(waiting);
    queue.addOperation([&] { note("dropped too"); });
    loop.advanceBy(100ms);
    ASSERT_TRUE(running->isExecuting());
    queue.cancelAllOperations();
    EXPECT_TRUE(running->isCancelled());
    EXPECT_TRUE(running->isExecuting());
    EXPECT_TRUE(waiting->isCancelled());
    EXPECT_TRUE(waiting->isFinished());
    EXPECT_FALSE(waiting->isExecuting());

    queue.addOperation([&] { note("added after the cancel"); });
    loop.advanceBy(1s);
    EXPECT_TRUE(running->isFinished());
    EXPECT_EQ(events, std::vector<std::string>{"added after the cancel@500"});
}

TEST_F(OperationQueueTest, OperationCancelledBeforeItStartsNeverStarts) {
    OperationQueue queue;
    queue.addOperation(std::make_shared<DelayOperation>(1s));
    const auto skipped = std::make_shared<BlockOperation>([&] { note("skipped"); });
    queue.addOperation(skipped);
    queue.addOperation([&] { note("next"); });
    skipped->cancel();
    loop.advanceBy(2s);
    EXPECT_EQ(events, std::vector<std::string>{"next@1000"});
    EXPECT_TRUE(skipped->isFinished());
}

TEST_F(OperationQueueTest, OperationsAddedToADroppedQueueStillRun) {
    auto queue = std::make_unique<OperationQueue>();
    queue->addOperation(std::make_shared<DelayOperation>(1s));
    queue->addOperation([&] { note("ran"); });
    queue.reset();
    loop.advanceBy(1s);
    EXPECT_EQ(events, std::vector<std::string>{"ran@1000"});
}

// The queue, its running operation and the ones waiting behind it belong to whatever will finish the
// running one: dropped unfinished (a main loop torn down with the timer pending), it takes them along.
TEST_F(OperationQueueTest, ARunningOperationWhoseFinisherIsDroppedLeavesNothingBehind) {
    std::function<void()> finisher;
    auto running = std::make_shared<ManualOperation>(finisher);
    auto waiting = std::make_shared<BlockOperation>([&] { note("never"); });
    const std::weak_ptr<Operation> watchedRunning = running;
    const std::weak_ptr<Operation> watchedWaiting = waiting;
    auto queue = std::make_unique<OperationQueue>();
    queue->addOperation(std::move(running));
    queue->addOperation(std::move(waiting));
    loop.runUntilIdle();
    ASSERT_TRUE(finisher);
    queue.reset();
    EXPECT_FALSE(watchedRunning.expired()) << "its finisher still holds it";

    finisher = nullptr;
    EXPECT_TRUE(watchedRunning.expired());
    EXPECT_TRUE(watchedWaiting.expired());
    EXPECT_TRUE(events.empty());
}

TEST_F(OperationQueueTest, MainOperationQueueRunsOnTheMainLoop) {
    bool onMain = false;
    OperationQueue::main()->addOperation([&] { onMain = DispatchQueue::main()->isCurrent(); });
    loop.runUntilIdle();
    EXPECT_TRUE(onMain);
}

TEST(OperationQueueOnWorkers, RunsOperationsOneAtATimeOffTheMainThreadAndHopsBack) {
    auto clock = std::make_shared<ManualClock>();
    MainLoop loop(clock);
    OperationQueue queue;   // not cooperative: the global queue's workers run it
    std::vector<int> order; // each operation ends before the next starts, so no two touch it at once
    bool anyOnMain = false;
    bool hopped = false;
    Semaphore done;
    for (int i = 0; i < 20; ++i)
        queue.addOperation([&, i] {
            anyOnMain = anyOnMain || DispatchQueue::main()->isCurrent();
            order.push_back(i);
        });
    queue.addOperation([&] {
        DispatchQueue::main()->async([&] { hopped = true; });
        done.signal();
    });
    done.wait();
    loop.runUntilIdle();
    EXPECT_TRUE(hopped);
    ASSERT_EQ(order.size(), 20u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_FALSE(anyOnMain);
}

} // namespace
} // namespace core
