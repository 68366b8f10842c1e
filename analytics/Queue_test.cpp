#include "analytics/Queue.h"

#include "platform/core/ManualClock.h"

#include <cmath>
#include <string>
#include <thread>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace zm {
namespace {

class QueueTest : public ::testing::Test {
protected:
    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    Queue<std::string> queue{clock};
};

TEST_F(QueueTest, PullsOldestFirstAndAnItemPutBackNext) {
    queue.push("A");
    queue.push("B");
    queue.putback("C");
    EXPECT_EQ(queue.newPull(), "C");
    EXPECT_EQ(queue.newPull(), "A");
    EXPECT_EQ(queue.newPullWithTimeout(0), "B");
    EXPECT_EQ(queue.newPullWithTimeout(0), std::nullopt);
    EXPECT_EQ(queue.newPullWithTimeout(-5), std::nullopt);
    EXPECT_EQ(queue.newPullWithTimeout(NAN), std::nullopt);
    EXPECT_FALSE(clock->nextDeadline()) << "nothing waited";
}

TEST_F(QueueTest, ATimedPullEndsWhenTheClockPassesItsTime) {
    std::optional<std::string> pulled = "unset";
    std::thread consumer([&] { pulled = queue.newPullWithTimeout(0.5); });
    ASSERT_TRUE(clock->awaitPending(1));
    EXPECT_EQ(clock->nextDeadline(), clock->now() + 500ms);
    clock->advanceBy(499ms);
    clock->advanceBy(1ms);
    consumer.join();
    EXPECT_EQ(pulled, std::nullopt);
}

TEST_F(QueueTest, APushFromAnotherThreadEndsATimedPullAtOnce) {
    std::optional<std::string> pulled;
    std::thread consumer([&] { pulled = queue.newPullWithTimeout(0.5); });
    ASSERT_TRUE(clock->awaitPending(1));
    std::thread([&] { queue.push("record"); }).join();
    consumer.join();
    EXPECT_EQ(pulled, "record");
    EXPECT_EQ(clock->now(), core::ManualClock::defaultStart) << "no time passed";
}

TEST_F(QueueTest, AnEndlessPullWaitsForAPushWithoutATimer) {
    std::optional<std::string> pulled;
    std::thread consumer([&] { pulled = queue.newPullWithTimeout(HUGE_VAL); });
    queue.push("late");
    consumer.join();
    EXPECT_EQ(pulled, "late");
    EXPECT_FALSE(clock->nextDeadline());
}

} // namespace
} // namespace zm
