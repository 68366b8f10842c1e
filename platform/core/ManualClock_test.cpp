#include "platform/core/ManualClock.h"
#include "platform/core/ClockWait.h"

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace core {
namespace {

struct ManualClockTest : ::testing::Test {
    ManualClock clock;
    const TimePoint start = clock.now();
    std::vector<std::string> fired;

    void record(TimePoint deadline, std::string name) {
        clock.schedule(deadline, [this, deadline, name] {
            EXPECT_EQ(clock.now(), std::max(deadline, start)) << name;
            fired.push_back(name);
        });
    }
};

TEST_F(ManualClockTest, StartsAwayFromZeroAndMovesOnlyWhenAdvanced) {
    EXPECT_DOUBLE_EQ(clock.mediaTime(), 1000.0);
    EXPECT_EQ(clock.now(), start);
    clock.advanceBy(250ms);
    EXPECT_DOUBLE_EQ(clock.mediaTime(), 1000.25);
}

TEST_F(ManualClockTest, FiresInDeadlineOrderAndEqualDeadlinesInSchedulingOrder) {
    record(start + 2s, "late");
    record(start + 1s, "first at 1s");
    record(start + 1s, "second at 1s");
    record(start + 3s, "beyond");
    clock.advanceBy(2s);
    EXPECT_EQ(fired, (std::vector<std::string>{"first at 1s", "second at 1s", "late"}));
    EXPECT_EQ(clock.now(), start + 2s);
}

TEST_F(ManualClockTest, CallbacksScheduledWhileAdvancingFireInTheSameAdvanceWhenDue) {
    clock.schedule(start + 1s, [this] {
        fired.push_back("outer");
        record(clock.now() + 500ms, "inner");
        record(clock.now() + 5s, "too late");
    });
    clock.advanceBy(2s);
    EXPECT_EQ(fired, (std::vector<std::string>{"outer", "inner"}));
}

TEST_F(ManualClockTest, CancelledCallbacksNeverFire) {
    const auto id = clock.schedule(start + 1s, [this] { fired.push_back("cancelled"); });
    record(start + 1s, "kept");
    clock.cancel(id);
    clock.cancel(id);
    clock.advanceBy(1s);
    EXPECT_EQ(fired, std::vector<std::string>{"kept"});
}

TEST_F(ManualClockTest, FireNextStopsAtTheLimitAndNeverMovesTimeBack) {
    record(start - 1s, "overdue");
    record(start + 1s, "due");
    EXPECT_TRUE(clock.fireNext(start));
    EXPECT_EQ(clock.now(), start) << "an overdue callback does not move time back";
    EXPECT_FALSE(clock.fireNext(start + 999ms));
    EXPECT_TRUE(clock.fireNext(start + 1s));
    EXPECT_EQ(fired, (std::vector<std::string>{"overdue", "due"}));
}

TEST_F(ManualClockTest, TheCalendarMovesWithTheClock) {
    EXPECT_EQ(clock.date(), ManualClock::defaultStartDate);
    clock.advanceBy(90s);
    EXPECT_EQ(clock.date().secondsSince1970, ManualClock::defaultStartDate.secondsSince1970 + 90);
    ManualClock dated(ManualClock::defaultStart, Date{86400});
    dated.advanceBy(1500ms);
    EXPECT_EQ(dated.date().iso8601(), "1970-01-02T00:00:01Z");
}

TEST_F(ManualClockTest, ATestSeesAnotherThreadBeginItsTimedWaitAndEndsItByMovingTime) {
    ClockWait wait;
    std::thread waiter([&] {
        auto lock = wait.lock();
        EXPECT_FALSE(wait.waitUntil(lock, clock, start + 30s, [] { return false; }));
    });
    ASSERT_TRUE(clock.awaitPending(1));
    EXPECT_EQ(clock.nextDeadline(), start + 30s);
    clock.advanceBy(30s);
    waiter.join();
    EXPECT_EQ(clock.nextDeadline(), std::nullopt);
    EXPECT_FALSE(clock.awaitPending(1, 0ms));
}

} // namespace
} // namespace core
