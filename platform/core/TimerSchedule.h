#pragma once

#include "platform/core/Clock.h"

#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

namespace core {

// The pending callbacks of a clock, ordered by deadline and then by the order in which they were
// scheduled. Shared by the steady and the manual clock.
//
// Thread safety: none; the owning clock locks around every call.
class TimerSchedule {
public:
    Clock::TimerId add(TimePoint deadline, Clock::Callback fire);
    void remove(Clock::TimerId id);

    std::optional<TimePoint> nextDeadline() const;
    size_t size() const { return m_entries.size(); }

    // Removes and answers the earliest callback whose deadline is at or before `limit`, with its deadline.
    std::optional<std::pair<TimePoint, Clock::Callback>> takeDue(TimePoint limit);

private:
    using Key = std::pair<TimePoint, Clock::TimerId>;
    std::map<Key, Clock::Callback> m_entries;
    std::unordered_map<Clock::TimerId, TimePoint> m_deadlines;
    Clock::TimerId m_nextId = 1;
};

} // namespace core
