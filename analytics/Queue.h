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
// Producers that may outrun the consumer push with pushWithin(), which waits while the queue is full,
// so that what waits stays bounded.
//
// Thread safety: pushes and putback from any thread; pulls from one consumer.
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

    // Pushes once fewer than `limit` items wait. False, the item dropped, when the queue is closed to
    // producers first.
    bool pushWithin(Item item, size_t limit) {
        auto lock = m_wait.lock();
        m_wait.wait(lock, [&] { return m_closed || m_items.size() < limit; });
        if (m_closed)
            return false;
        m_items.push_front(std::move(item));
        if (m_items.size() == 1)
            m_wait.notifyAll();
        return true;
    }

    // Refuses every pushWithin() from now on, those waiting included; push() and putback() still work.
    void closeToProducers() {
        auto lock = m_wait.lock();
        m_closed = true;
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
        // Producers may be waiting for room.
        m_wait.notifyAll();
        return item;
    }

    const std::shared_ptr<core::Clock> m_clock;
    core::ClockWait m_wait;
    std::deque<Item> m_items; // guarded by m_wait's lock; newest at the front
    bool m_closed = false;    // guarded by m_wait's lock
};

} // namespace zm
