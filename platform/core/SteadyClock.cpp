#include "platform/core/SteadyClock.h"

#include "platform/core/Thread.h"

namespace core {

SteadyClock::~SteadyClock() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

const std::shared_ptr<SteadyClock>& SteadyClock::shared() {
    // Never destroyed: timer callbacks may still be handing work on while other statics go away.
    static const auto* clock = new std::shared_ptr<SteadyClock>(std::make_shared<SteadyClock>());
    return *clock;
}

TimePoint SteadyClock::now() const {
    return std::chrono::steady_clock::now();
}

Date SteadyClock::date() const {
    return Date{std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count()};
}

Clock::TimerId SteadyClock::schedule(TimePoint deadline, Callback fire) {
    TimerId id;
    {
        std::lock_guard lock(m_mutex);
        id = m_schedule.add(deadline, std::move(fire));
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
    }
    m_changed.notify_all();
    return id;
}

void SteadyClock::cancel(TimerId id) {
    std::lock_guard lock(m_mutex);
    m_schedule.remove(id);
}

void SteadyClock::run() {
    Thread::setCurrentName("clock.timers");
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        if (auto due = m_schedule.takeDue(now())) {
            lock.unlock();
            due->second();
            lock.lock();
            continue;
        }
        if (const auto next = m_schedule.nextDeadline())
            m_changed.wait_until(lock, *next);
        else
            m_changed.wait(lock);
    }
}

} // namespace core
