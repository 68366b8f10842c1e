#pragma once

#include <functional>
#include <memory>

namespace core {

class DispatchQueue;
class Operation;

// Runs operations one at a time, in the order they were added. Operations start on the queue's target
// queue: the global queue, or the main loop when the loop runs operation queues cooperatively (tests) or
// when the queue is the main operation queue. An operation that runs asynchronously (see Operation) holds
// the queue until it finishes, so a queue paces timed steps without any thread sleeping.
//
// A suspended queue starts nothing new; the running operation goes on. cancelAllOperations() drops
// every operation not yet started (they never start) and marks the running one cancelled; that one still
// runs to its end.
//
// Destroying the queue does not cancel anything: operations already added still run, one after another,
// unless the queue was suspended. An operation's own code may therefore drop the last owner of its queue.
//
// Thread safety: every operation may be called from any thread.
class OperationQueue {
public:
    // A queue on the default target (see MainLoop::setCooperativeOperationQueues).
    OperationQueue();
    explicit OperationQueue(std::shared_ptr<DispatchQueue> target);
    ~OperationQueue();
    OperationQueue(const OperationQueue&) = delete;
    OperationQueue& operator=(const OperationQueue&) = delete;

    // The running main loop's operation queue; while no loop runs, one that never runs anything.
    static std::shared_ptr<OperationQueue> main();

    // Adds an operation that has not been added to any queue before.
    void addOperation(std::shared_ptr<Operation> operation);
    // Adds a BlockOperation running `block`.
    void addOperation(std::function<void()> block);

    void setSuspended(bool suspended);
    bool isSuspended() const;

    void cancelAllOperations();

    struct State;

private:
    static void startNext(const std::shared_ptr<State>& state);
    static void finished(const std::shared_ptr<State>& state);

    std::shared_ptr<State> m_state;
};

} // namespace core
