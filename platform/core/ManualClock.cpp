#include "platform/core/ManualClock.h"

#include <algorithm>

namespace core {

ManualClock::ManualClock(TimePoint start)
    : m_now(start) {}

TimePoint ManualClock::now() const {
    std::lock_guard lock(m_mutex);
    return m_now;
}

Clock::TimerId ManualClock::schedule(TimePoint deadline, Callback fire) {
    std::lock_guard lock(m_mutex);
    return m_schedule.add(deadline, std::move(fire));
}

void ManualClock::cancel(TimerId id) {
    std::lock_guard lock(m_mutex);
    m_schedule.remove(id);
}

void ManualClock::advanceBy(Duration duration) {
    advanceTo(now() + duration);
}

void ManualClock::advanceTo(TimePoint time) {
    while (fireNext(time)) {
    }
    std::lock_guard lock(m_mutex);
    m_now = std::max(m_now, time);
}

bool ManualClock::fireNext(TimePoint limit) {
    Callback fire;
    {
        std::lock_guard lock(m_mutex);
        auto due = m_schedule.takeDue(limit);
        if (!due)
            return false;
        m_now = std::max(m_now, due->first);
        fire = std::move(due->second);
    }
    fire();
    return true;
}

} // namespace core
