#include "platform/core/DispatchGroup.h"

#include "platform/core/ClockWait.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/MainLoop.h"

#include <cassert>
#include <utility>
#include <vector>

namespace core {

struct DispatchGroup::State {
    ClockWait wait;
    long tasks = 0;                                                       // guarded by wait's mutex
    std::vector<std::pair<std::shared_ptr<DispatchQueue>, Work>> waiting; // guarded by wait's mutex

    void leave() {
        std::vector<std::pair<std::shared_ptr<DispatchQueue>, Work>> due;
        {
            auto lock = wait.lock();
            assert(tasks > 0 && "leave() without enter()");
            if (tasks == 0)
                return;
            if (--tasks > 0)
                return;
            due.swap(waiting);
            wait.notifyAll();
        }
        for (auto& [queue, work] : due)
            queue->async(std::move(work));
    }
};

DispatchGroup::DispatchGroup()
    : m_state(std::make_shared<State>()) {}

void DispatchGroup::enter() {
    auto lock = m_state->wait.lock();
    ++m_state->tasks;
}

void DispatchGroup::leave() {
    m_state->leave();
}

void DispatchGroup::async(const std::shared_ptr<DispatchQueue>& queue, Work work) {
    enter();
    queue->async([state = m_state, work = std::move(work)] {
        work();
        state->leave();
    });
}

void DispatchGroup::notify(const std::shared_ptr<DispatchQueue>& queue, Work work) {
    {
        auto lock = m_state->wait.lock();
        if (m_state->tasks > 0) {
            m_state->waiting.emplace_back(queue, std::move(work));
            return;
        }
    }
    queue->async(std::move(work));
}

void DispatchGroup::wait() {
    auto lock = m_state->wait.lock();
    m_state->wait.wait(lock, [&] { return m_state->tasks == 0; });
}

bool DispatchGroup::waitFor(Duration timeout) {
    const auto clock = currentClock();
    auto lock = m_state->wait.lock();
    return m_state->wait.waitUntil(lock, *clock, clock->now() + timeout, [&] { return m_state->tasks == 0; });
}

} // namespace core
