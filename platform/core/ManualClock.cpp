#include "platform/core/ManualClock.h"

#include <algorithm>

namespace core {

ManualClock::ManualClock(TimePoint start, Date startDate)
    : m_start(start)
    , m_startDate(startDate)
    , m_now(start) {}

TimePoint ManualClock::now() const {
    std::lock_guard lock(m_mutex);
    return m_now;
}

Date ManualClock::date() const {
    std::lock_guard lock(m_mutex);
    return Date{m_startDate.secondsSince1970 + toSeconds(m_now - m_start)};
}

Clock::TimerId ManualClock::schedule(TimePoint deadline, Callback fire) {
    TimerId id;
    {
        std::lock_guard lock(m_mutex);
        id = m_schedule.add(deadline, std::move(fire));
    }
    m_scheduled.notify_all();
    return id;
}

std::optional<TimePoint> ManualClock::nextDeadline() const {
    std::lock_guard lock(m_mutex);
    return m_schedule.nextDeadline();
}

bool ManualClock::awaitPending(size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(m_mutex);
    return m_scheduled.wait_for(lock, limit, [&] { return m_schedule.size() >= count; });
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
