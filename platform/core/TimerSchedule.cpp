#include "platform/core/TimerSchedule.h"

namespace core {

Clock::TimerId TimerSchedule::add(TimePoint deadline, Clock::Callback fire) {
    const Clock::TimerId id = m_nextId++;
    m_entries.emplace(Key{deadline, id}, std::move(fire));
    m_deadlines.emplace(id, deadline);
    return id;
}

void TimerSchedule::remove(Clock::TimerId id) {
    const auto found = m_deadlines.find(id);
    if (found == m_deadlines.end())
        return;
    m_entries.erase(Key{found->second, id});
    m_deadlines.erase(found);
}

std::optional<TimePoint> TimerSchedule::nextDeadline() const {
    if (m_entries.empty())
        return std::nullopt;
    return m_entries.begin()->first.first;
}

std::optional<std::pair<TimePoint, Clock::Callback>> TimerSchedule::takeDue(TimePoint limit) {
    if (m_entries.empty() || m_entries.begin()->first.first > limit)
        return std::nullopt;
    auto node = m_entries.extract(m_entries.begin());
    m_deadlines.erase(node.key().second);
    return std::pair{node.key().first, std::move(node.mapped())};
}

} // namespace core
