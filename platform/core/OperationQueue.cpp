#include "platform/core/OperationQueue.h"

#include "platform/core/DispatchQueue.h"
#include "platform/core/MainLoop.h"
#include "platform/core/Operation.h"

#include <cassert>
#include <deque>
#include <mutex>

namespace core {

struct OperationQueue::State {
    explicit State(std::shared_ptr<DispatchQueue> queue)
        : target(std::move(queue)) {}

    const std::shared_ptr<DispatchQueue> target;
    mutable std::mutex mutex;
    std::deque<std::shared_ptr<Operation>> pending;
    // The operation between its start and its finish; it holds itself (see Operation).
    std::weak_ptr<Operation> running;
    bool busy = false;
    bool suspended = false;
};

void OperationQueue::finished(const std::shared_ptr<State>& state) {
    {
        std::lock_guard lock(state->mutex);
        state->running.reset();
        state->busy = false;
    }
    startNext(state);
}

void OperationQueue::startNext(const std::shared_ptr<State>& state) {
    std::shared_ptr<Operation> next;
    {
        std::lock_guard lock(state->mutex);
        if (state->suspended || state->busy || state->pending.empty())
            return;
        next = std::move(state->pending.front());
        state->pending.pop_front();
        state->running = next;
        state->busy = true;
    }
    // The operation's completion holds the queue's state, so the queue lives while it runs.
    state->target->async([state, next] { next->run([state] { finished(state); }); });
}

OperationQueue::OperationQueue()
    : OperationQueue(MainLoop::defaultOperationTarget()) {}

OperationQueue::OperationQueue(std::shared_ptr<DispatchQueue> target)
    : m_state(std::make_shared<State>(std::move(target))) {}

OperationQueue::~OperationQueue() = default;

void OperationQueue::addOperation(std::shared_ptr<Operation> operation) {
    if (!operation)
        return;
    const bool alreadyAdded = operation->m_enqueued.exchange(true);
    assert(!alreadyAdded && "an operation belongs to one queue and runs once");
    if (alreadyAdded)
        return;
    {
        std::lock_guard lock(m_state->mutex);
        m_state->pending.push_back(std::move(operation));
    }
    startNext(m_state);
}

void OperationQueue::addOperation(std::function<void()> block) {
    addOperation(std::make_shared<BlockOperation>(std::move(block)));
}

void OperationQueue::setSuspended(bool suspended) {
    {
        std::lock_guard lock(m_state->mutex);
        m_state->suspended = suspended;
    }
    startNext(m_state);
}

bool OperationQueue::isSuspended() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->suspended;
}

void OperationQueue::cancelAllOperations() {
    std::deque<std::shared_ptr<Operation>> dropped;
    {
        std::lock_guard lock(m_state->mutex);
        dropped.swap(m_state->pending);
        if (const std::shared_ptr<Operation> running = m_state->running.lock())
            running->cancel();
    }
    for (const auto& operation : dropped) {
        operation->cancel();
        operation->discard();
    }
}

} // namespace core
