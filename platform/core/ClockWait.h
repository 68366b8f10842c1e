#pragma once

#include "platform/core/Clock.h"

#include <condition_variable>
#include <memory>
#include <mutex>

namespace core {

// A mutex with a condition whose timed waits are measured on a Clock rather than on the wall clock, so
// that under a manual clock a timed wait ends exactly when a test moves time past its deadline.
// Internal to the blocking primitives (Semaphore, DispatchGroup).
//
// Thread safety: as a mutex and condition variable.
class ClockWait {
public:
    ClockWait()
        : m_state(std::make_shared<State>()) {}

    std::unique_lock<std::mutex> lock() { return std::unique_lock(m_state->mutex); }
    void notifyAll() { m_state->changed.notify_all(); }

    // With `lock` held: waits until ready().
    template <typename Ready> void wait(std::unique_lock<std::mutex>& lock, Ready ready) {
        m_state->changed.wait(lock, ready);
    }

    // With `lock` held: waits until ready() or until `clock` reaches `deadline`. Answers ready().
    template <typename Ready>
    bool waitUntil(std::unique_lock<std::mutex>& lock, Clock& clock, TimePoint deadline, Ready ready) {
        if (ready())
            return true;
        if (clock.now() >= deadline)
            return false;
        // The clock's callback may come after this wait has ended and the object is gone: it holds the
        // state weakly and owns its flag.
        auto expired = std::make_shared<bool>(false); // guarded by the mutex
        const Clock::TimerId alarm = clock.schedule(deadline, [state = std::weak_ptr(m_state), expired] {
            if (const auto alive = state.lock()) {
                std::lock_guard guard(alive->mutex);
                *expired = true;
                alive->changed.notify_all();
            }
        });
        m_state->changed.wait(lock, [&] { return ready() || *expired; });
        clock.cancel(alarm);
        return ready();
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
    };
    std::shared_ptr<State> m_state;
};

} // namespace core
