#include "platform/core/Timer.h"

#include "platform/core/DispatchQueue.h"
#include "platform/core/MainLoop.h"

#include <algorithm>

namespace core {

struct Timer::Private {};

Timer::Timer(Private, Duration interval, Repeat repeat, Callback callback,
             std::shared_ptr<DispatchQueue> queue, std::shared_ptr<Clock> clock)
    : m_interval(repeat == Repeat::Repeating ? std::max(interval, minimumInterval) : interval)
    , m_repeat(repeat)
    , m_callback(std::move(callback))
    , m_queue(queue)
    , m_clock(clock) {}

std::shared_ptr<Timer> Timer::schedule(Duration interval, Repeat repeat, Callback callback,
                                       std::shared_ptr<DispatchQueue> queue) {
    auto clock = currentClock();
    const TimePoint start = clock->now();
    auto timer = std::make_shared<Timer>(Private{}, interval, repeat, std::move(callback),
                                         queue ? std::move(queue) : DispatchQueue::main(), clock);
    timer->arm(start + timer->m_interval);
    return timer;
}

void Timer::invalidate() {
    if (!m_valid.exchange(false))
        return;
    std::lock_guard lock(m_mutex);
    if (const auto clock = m_clock.lock())
        clock->cancel(m_pending);
}

void Timer::arm(TimePoint deadline) {
    std::lock_guard lock(m_mutex);
    const auto clock = m_clock.lock();
    if (!clock || !m_valid.load())
        return;
    // The clock holds the timer until it fires; the queue holds it until the callback has run.
    m_pending = clock->schedule(deadline, [self = shared_from_this(), deadline] {
        if (const auto queue = self->m_queue.lock())
            queue->async([self, deadline] { self->fire(deadline); });
    });
}

void Timer::fire(TimePoint deadline) {
    if (!isValid())
        return;
    if (m_repeat == Repeat::Once)
        m_valid.store(false);
    m_callback(*this);
    if (m_repeat == Repeat::Once)
        return;
    const auto clock = m_clock.lock();
    if (!clock)
        return;
    const TimePoint now = clock->now();
    TimePoint next = deadline + m_interval;
    if (next <= now)
        next += m_interval * ((now - next) / m_interval + 1);
    arm(next);
}

} // namespace core
