#include "platform/core/DispatchQueue.h"

#include "platform/core/MainLoop.h"
#include "platform/core/QueueIdentity.h"

#include <future>

namespace core {

thread_local const void* QueueIdentity::t_current = nullptr;

DispatchQueue::DispatchQueue(std::string label)
    : m_label(std::move(label)) {}

void DispatchQueue::after(Duration delay, Work work) {
    if (delay <= Duration::zero()) {
        async(std::move(work));
        return;
    }
    const auto clock = currentClock();
    clock->schedule(clock->now() + delay, [queue = weak_from_this(), work = std::move(work)]() mutable {
        if (const auto target = queue.lock())
            target->async(std::move(work));
    });
}

void DispatchQueue::sync(Work work) {
    if (isCurrent()) {
        work();
        return;
    }
    // A dropped closure destroys the promise unfulfilled, which releases the wait as well.
    auto done = std::make_shared<std::promise<void>>();
    auto finished = done->get_future();
    async([work = std::move(work), done = std::move(done)] {
        work();
        done->set_value();
    });
    finished.wait();
}

} // namespace core
