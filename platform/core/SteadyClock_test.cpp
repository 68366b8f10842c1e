#include "platform/core/DispatchQueue.h"
#include "platform/core/MainLoop.h"
#include "platform/core/Semaphore.h"
#include "platform/core/SteadyClock.h"
#include "platform/core/Timer.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace core {
namespace {

// Only deadlines that have already passed are used here, so nothing waits on real time.

TEST(SteadyClock, FiresCallbacksAlreadyDueOnItsTimerThreadInOrderAndSkipsCancelledOnes) {
    SteadyClock clock;
    std::vector<std::string> fired; // written on the timer thread only, read after it signalled
    Semaphore gate;
    Semaphore done;
    const TimePoint past = clock.now() - 1s;
    // Holds the timer thread until everything below is scheduled, since all of it is due at once.
    clock.schedule(past - 1ms, [&] { gate.wait(); });
    clock.schedule(past + 1ms, [&] { fired.push_back("second"); });
    clock.schedule(past, [&] { fired.push_back("first"); });
    const auto cancelled = clock.schedule(past, [&] { fired.push_back("cancelled"); });
    clock.cancel(cancelled);
    clock.schedule(past + 2ms, [&] { done.signal(); });
    gate.signal();
    done.wait();
    EXPECT_EQ(fired, (std::vector<std::string>{"first", "second"}));
    EXPECT_GE(clock.now(), past + 1s);
}

TEST(SteadyClock, ItsCalendarIsTheSystems) {
    const auto seconds = [](std::chrono::system_clock::time_point time) {
        return std::chrono::duration<double>(time.time_since_epoch()).count();
    };
    const double before = seconds(std::chrono::system_clock::now());
    const double date = SteadyClock::shared()->date().secondsSince1970;
    EXPECT_LE(before, date);
    EXPECT_LE(date, seconds(std::chrono::system_clock::now()));
}

TEST(SteadyClock, MainLoopRunsForeverOnItUntilATimerQuits) {
    MainLoop loop(SteadyClock::shared());
    bool onMain = false;
    Timer::schedule(0s, Timer::Repeat::Once, [&](Timer&) {
        onMain = DispatchQueue::main()->isCurrent();
        loop.quit();
    });
    loop.runForever();
    EXPECT_TRUE(onMain);
}

} // namespace
} // namespace core
