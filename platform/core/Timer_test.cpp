#include "platform/core/DispatchQueue.h"
#include "platform/core/Timer.h"
#include "platform/core/testsupport/Timeline.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace core {
namespace {

using TimerTest = testing::TimelineTest;

TEST_F(TimerTest, OneShotFiresOnceAndIsThenInvalid) {
    const auto timer = Timer::schedule(300ms, Timer::Repeat::Once, [&](Timer&) { note("fired"); });
    EXPECT_TRUE(timer->isValid());
    loop.advanceBy(299ms);
    EXPECT_TRUE(events.empty());
    loop.advanceBy(2s);
    EXPECT_EQ(events, std::vector<std::string>{"fired@300"});
    EXPECT_FALSE(timer->isValid());
}

TEST_F(TimerTest, DroppedHandleStillFiresButInvalidatedTimerDoesNot) {
    Timer::schedule(100ms, Timer::Repeat::Once, [&](Timer&) { note("dropped handle"); });
    const auto invalidated =
        Timer::schedule(100ms, Timer::Repeat::Once, [&](Timer&) { note("invalidated"); });
    invalidated->invalidate();
    loop.advanceBy(1s);
    EXPECT_EQ(events, std::vector<std::string>{"dropped handle@100"});
}

TEST_F(TimerTest, RepeatingTimerFiresAtWholeIntervalsUntilItInvalidatesItself) {
    int fires = 0;
    Timer::schedule(300ms, Timer::Repeat::Repeating, [&](Timer& timer) {
        note("tick");
        if (++fires == 3)
            timer.invalidate();
    });
    loop.advanceBy(2s);
    EXPECT_EQ(events, (std::vector<std::string>{"tick@300", "tick@600", "tick@900"}));
}

TEST_F(TimerTest, RepeatingTimerSkipsFiresMissedWhileTheLoopWasBusy) {
    const auto timer = Timer::schedule(1s, Timer::Repeat::Repeating, [&](Timer&) { note("tick"); });
    clock->advanceBy(3500ms); // the loop does not run meanwhile
    loop.runUntilIdle();
    loop.advanceBy(1500ms);
    EXPECT_EQ(events, (std::vector<std::string>{"tick@3500", "tick@4000", "tick@5000"}));
    timer->invalidate();
}

// Two timers due at the same time, where the first one's callback invalidates the second: whether the
// loop steps through them one by one or finds both already due, the second must not fire.
TEST_F(TimerTest, TimerInvalidatedByAnotherInTheSameTurnDoesNotFire) {
    for (const bool loopSteps : {true, false}) {
        SCOPED_TRACE(loopSteps ? "stepping" : "both already due");
        events.clear();
        std::shared_ptr<Timer> second;
        Timer::schedule(1s, Timer::Repeat::Once, [&](Timer&) {
            note("first");
            second->invalidate();
        });
        second = Timer::schedule(1s, Timer::Repeat::Once, [&](Timer&) { note("second"); });
        if (loopSteps) {
            loop.advanceBy(1s);
        } else {
            clock->advanceBy(1s);
            loop.runUntilIdle();
        }
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].substr(0, 6), "first@");
    }
}

TEST_F(TimerTest, TimerFiresOnTheQueueItWasGiven) {
    const auto worker = DispatchQueue::serial("test.timer");
    bool firedOnWorker = false;
    Timer::schedule(
        1s, Timer::Repeat::Once, [&](Timer&) { firedOnWorker = worker->isCurrent(); }, worker);
    loop.advanceBy(1s);
    worker->sync([] {});
    EXPECT_TRUE(firedOnWorker);
}

TEST_F(TimerTest, OwnerThatInvalidatesItsTimerOnDestructionIsNeverCalledBack) {
    struct Owner {
        std::shared_ptr<Timer> timer;
        int* calls;
        explicit Owner(int* counter)
            : calls(counter) {
            timer = Timer::schedule(1s, Timer::Repeat::Repeating, [this](Timer&) { ++*calls; });
        }
        ~Owner() { timer->invalidate(); }
    };
    int calls = 0;
    auto owner = std::make_unique<Owner>(&calls);
    loop.advanceBy(1s);
    owner.reset();
    loop.advanceBy(5s);
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace core
