#pragma once

#include "platform/core/ClockWait.h"

namespace core {

// A counting semaphore. Timed waits are measured on the current clock (see currentClock()).
//
// Thread safety: every operation may be called from any thread.
class Semaphore {
public:
    explicit Semaphore(long count = 0);

    // Raises the count, waking one waiter.
    void signal();
    // Waits until the count is above zero, then lowers it.
    void wait();
    // Lowers the count when it is above zero, without waiting. Answers whether it did.
    bool tryWait();
    // Like wait(), giving up after `timeout`. Answers whether the count was lowered.
    bool waitFor(Duration timeout);
    // Like wait(), giving up once the current clock reaches `deadline`: a deadline fixed beforehand
    // does not drift with the time it takes to begin waiting.
    bool waitUntil(TimePoint deadline);

private:
    ClockWait m_wait;
    long m_count; // guarded by m_wait's mutex
};

} // namespace core
