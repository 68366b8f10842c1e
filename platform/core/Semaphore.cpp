#include "platform/core/Semaphore.h"

#include "platform/core/MainLoop.h"

namespace core {

Semaphore::Semaphore(long count)
    : m_count(count) {}

void Semaphore::signal() {
    auto lock = m_wait.lock();
    ++m_count;
    m_wait.notifyAll();
}

void Semaphore::wait() {
    auto lock = m_wait.lock();
    m_wait.wait(lock, [&] { return m_count > 0; });
    --m_count;
}

bool Semaphore::tryWait() {
    auto lock = m_wait.lock();
    if (m_count <= 0)
        return false;
    --m_count;
    return true;
}

bool Semaphore::waitFor(Duration timeout) {
    return waitUntil(currentClock()->now() + timeout);
}

bool Semaphore::waitUntil(TimePoint deadline) {
    const auto clock = currentClock();
    auto lock = m_wait.lock();
    if (!m_wait.waitUntil(lock, *clock, deadline, [&] { return m_count > 0; }))
        return false;
    --m_count;
    return true;
}

} // namespace core
