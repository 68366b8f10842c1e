#pragma once

#include "platform/core/Clock.h"
#include "platform/core/TimerSchedule.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>

namespace core {

// A clock that only moves when told to: tests drive time with it, and nothing ever sleeps.
//
// It starts well away from zero (at 1000 s) so that code treating time zero as "never" behaves as it
// does on the real clock, and its calendar starts at a fixed date that moves with it. Advancing fires
// the due callbacks on the advancing thread, one at a time in deadline order; while a callback runs,
// now() reads its deadline.
//
// Thread safety: every operation may be called from any thread; advance from one thread at a time.
class ManualClock final : public Clock {
public:
    static constexpr TimePoint defaultStart{std::chrono::seconds(1000)};
    static constexpr Date defaultStartDate{1704067200}; // 2024-01-01T00:00:00Z

    explicit ManualClock(TimePoint start = defaultStart, Date startDate = defaultStartDate);

    TimePoint now() const override;
    Date date() const override;
    TimerId schedule(TimePoint deadline, Callback fire) override;
    void cancel(TimerId id) override;

    // Moves time forward by `duration` (or to `time`), firing every callback that falls due on the way,
    // including those scheduled by earlier callbacks of the same advance.
    void advanceBy(Duration duration);
    void advanceTo(TimePoint time);

    // Fires the earliest callback due at or before `limit`, first moving time to its deadline when that
    // lies ahead. Answers false when nothing is due by then. The main loop steps through time with this
    // so that it can run its work between two callbacks.
    bool fireNext(TimePoint limit);

    // The earliest pending callback's deadline.
    std::optional<TimePoint> nextDeadline() const;
    // Waits, in real time but at most `limit`, until at least `count` callbacks are pending: a test
    // knows so that another thread has begun a timed wait before it moves time past the deadline.
    // Answers whether they are.
    bool awaitPending(size_t count, std::chrono::milliseconds limit = std::chrono::seconds(10)) const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_scheduled;
    const TimePoint m_start;
    const Date m_startDate;
    TimePoint m_now;
    TimerSchedule m_schedule;
};

} // namespace core
