#pragma once

#include "platform/core/Clock.h"
#include "platform/core/TimerSchedule.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace core {

// The real monotonic clock (time since boot; it never jumps with the wall clock). Callbacks are fired
// by one timer thread, started with the first schedule.
//
// Thread safety: every operation may be called from any thread.
class SteadyClock final : public Clock {
public:
    SteadyClock() = default;
    ~SteadyClock() override;

    // The clock the program runs on. It lives until the process ends.
    static const std::shared_ptr<SteadyClock>& shared();

    TimePoint now() const override;
    // The system's calendar time.
    Date date() const override;
    TimerId schedule(TimePoint deadline, Callback fire) override;
    void cancel(TimerId id) override;

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    TimerSchedule m_schedule;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace core
