#pragma once

#include "platform/core/Clock.h"

#include <memory>

namespace zm {

// The clock the analytics client reads, for its records' times and its threads' waits: the system's
// real clock in every host, so that a game driven by a manual clock (headless) still stamps its records
// with the true time. Tests set a manual clock of their own.
//
// Thread safety: any thread.
class TmClock {
public:
    static std::shared_ptr<core::Clock> shared();
    // The present moment in seconds since 1970.
    static double now();
    // Replaces the clock (null: the real one again).
    static void set(std::shared_ptr<core::Clock> clock);
};

// Sets the analytics clock for its own life, then puts the real one back.
class ScopedTmClock {
public:
    explicit ScopedTmClock(std::shared_ptr<core::Clock> clock) { TmClock::set(std::move(clock)); }
    ~ScopedTmClock() { TmClock::set(nullptr); }
    ScopedTmClock(const ScopedTmClock&) = delete;
    ScopedTmClock& operator=(const ScopedTmClock&) = delete;
};

} // namespace zm
