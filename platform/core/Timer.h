#pragma once

#include "platform/core/Clock.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace core {

class DispatchQueue;

// A one-shot or repeating timer that fires on a queue (the main queue unless told otherwise), timed by
// the clock that was current when it was scheduled.
//
// A scheduled timer keeps itself alive until it has fired for the last time or is invalidated, so the
// handle may be dropped; keep it only to invalidate the timer. The callback should hold its owner weakly
// (or the owner should invalidate the timer when it goes away), as a timer can outlive its owner.
//
// A repeating timer fires at whole multiples of its interval after it was scheduled; fires that were
// missed (the loop was busy) are skipped, not made up. Timers due at the same time fire in the order
// they were scheduled, and a timer invalidated by another one's callback in the same turn does not fire.
//
// Thread safety: every operation may be called from any thread. Invalidating from another thread than
// the timer's queue does not stop a callback that has already begun.
class Timer : public std::enable_shared_from_this<Timer> {
public:
    using Callback = std::function<void(Timer&)>;
    enum class Repeat { Once, Repeating };

    // Repeating timers fire at most this often.
    static constexpr Duration minimumInterval{100'000};

    // Fires `callback` on `queue` (nullptr: the main queue) after `interval` on the current clock, and
    // again every `interval` when repeating.
    static std::shared_ptr<Timer> schedule(Duration interval, Repeat repeat, Callback callback,
                                           std::shared_ptr<DispatchQueue> queue = nullptr);

    // Stops the timer for good. Safe to call more than once and from the timer's own callback.
    void invalidate();
    bool isValid() const { return m_valid.load(); }

    Duration interval() const { return m_interval; }

    struct Private; // lets schedule() reach the constructor through make_shared
    Timer(Private, Duration interval, Repeat repeat, Callback callback, std::shared_ptr<DispatchQueue> queue,
          std::shared_ptr<Clock> clock);

private:
    void arm(TimePoint deadline);
    void fire(TimePoint deadline);

    const Duration m_interval;
    const Repeat m_repeat;
    const Callback m_callback;
    // Both held weakly: a timer whose queue or clock is gone never fires again.
    const std::weak_ptr<DispatchQueue> m_queue;
    const std::weak_ptr<Clock> m_clock;

    std::atomic<bool> m_valid{true};
    std::mutex m_mutex;
    Clock::TimerId m_pending = 0; // guarded by m_mutex
};

} // namespace core
