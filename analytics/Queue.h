#pragma once

#include "platform/core/Clock.h"
#include "platform/core/ClockWait.h"

#include <cmath>
#include <deque>
#include <memory>
#include <optional>
#include <utility>

namespace zm {

// The blocking inbox of an analytics thread: any thread pushes, the owning thread pulls, oldest first.
// An item put back goes ahead of everything else, so a record that could not be sent is taken again
// next. Timed pulls are measured on the queue's clock, so under a manual clock they end exactly when
// the test moves time past them.
//
// Thread safety: push and putback from any thread; pulls from one consumer.
template <typename Item> class Queue {
public:
    explicit Queue(std::shared_ptr<core::Clock> clock)
        : m_clock(std::move(clock)) {}

    void push(Item item) {
        auto lock = m_wait.lock();
        m_items.push_front(std::move(item));
        // The consumer only ever waits on an empty queue.
        if (m_items.size() == 1)
            m_wait.notifyAll();
    }

    void putback(Item item) {
        auto lock = m_wait.lock();
        m_items.push_back(std::move(item));
        if (m_items.size() == 1)
            m_wait.notifyAll();
    }

    // Waits for an item without limit.
    Item newPull() {
        auto lock = m_wait.lock();
        m_wait.wait(lock, [&] { return !m_items.empty(); });
        return take();
    }

    // Waits for an item at most `seconds` on the clock: nothing when the time passes first. Zero, a
    // negative or an unreadable time does not wait; +infinity waits without limit.
    std::optional<Item> newPullWithTimeout(double seconds) {
        if (seconds == HUGE_VAL)
            return newPull();
        auto lock = m_wait.lock();
        const auto ready = [&] { return !m_items.empty(); };
        if (!(seconds > 0)) {
            if (!ready())
                return std::nullopt;
        } else if (!m_wait.waitUntil(lock, *m_clock, m_clock->now() + core::fromSeconds(std::min(seconds, 1e9)), ready)) {
            return std::nullopt;
        }
        return take();
    }

    const std::shared_ptr<core::Clock>& clock() const { return m_clock; }

private:
    // With the lock held and an item there.
    Item take() {
        Item item = std::move(m_items.back());
        m_items.pop_back();
        return item;
    }

    const std::shared_ptr<core::Clock> m_clock;
    core::ClockWait m_wait;
    std::deque<Item> m_items; // guarded by m_wait's lock; newest at the front
};

} // namespace zm
