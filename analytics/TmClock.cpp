#include "analytics/TmClock.h"

#include "platform/core/SteadyClock.h"

#include <mutex>

namespace zm {

namespace {

struct SharedClock {
    std::mutex lock;
    std::shared_ptr<core::Clock> clock; // guarded by lock; null: the real one
};

SharedClock& sharedClock() {
    static SharedClock shared;
    return shared;
}

} // namespace

std::shared_ptr<core::Clock> TmClock::shared() {
    SharedClock& shared = sharedClock();
    std::lock_guard guard(shared.lock);
    if (shared.clock)
        return shared.clock;
    return core::SteadyClock::shared();
}

double TmClock::now() {
    return shared()->date().secondsSince1970;
}

void TmClock::set(std::shared_ptr<core::Clock> clock) {
    SharedClock& shared = sharedClock();
    std::lock_guard guard(shared.lock);
    shared.clock = std::move(clock);
}

} // namespace zm
