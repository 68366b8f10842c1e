#pragma once

#include "platform/core/Date.h"

#include <chrono>
#include <cstdint>
#include <functional>

namespace core {

// Every timed thing in the program (the main loop, timers, delayed work on queues, timed waits,
// animations) reads one clock through this interface, so that a test can swap in a ManualClock and
// move time by hand instead of sleeping.
using Duration = std::chrono::nanoseconds;
using TimePoint = std::chrono::time_point<std::chrono::steady_clock, Duration>;

Duration fromSeconds(double seconds);
double toSeconds(Duration duration);

// A source of monotonic time that can also call back at a given time.
//
// Thread safety: every operation may be called from any thread.
class Clock {
public:
    using Callback = std::function<void()>;
    using TimerId = std::uint64_t;

    virtual ~Clock() = default;
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;

    virtual TimePoint now() const = 0;

    // The present moment in calendar time. Timestamps are read here rather than from the system, so
    // that under a manual clock they move exactly as far as timed waits do.
    virtual Date date() const = 0;

    // The current time in seconds, the unit in which animations and touch timing are written.
    double mediaTime() const { return toSeconds(now().time_since_epoch()); }

    // Calls `fire` once, when the clock reaches `deadline`. Callbacks due at the same time run in the
    // order they were scheduled. A callback runs on a thread of the clock's choosing (the steady clock's
    // timer thread, or whichever thread advances a manual clock) and must only hand work on (post to a
    // queue, notify a waiter): it must not block.
    virtual TimerId schedule(TimePoint deadline, Callback fire) = 0;

    // Drops a scheduled callback that has not started yet. A callback that is already running, on
    // another thread, is not waited for: a target that must not see a late call checks for itself.
    virtual void cancel(TimerId id) = 0;

protected:
    Clock() = default;
};

} // namespace core
