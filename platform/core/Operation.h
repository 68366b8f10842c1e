#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace core {

// A unit of work for an OperationQueue. The queue calls start() on the thread where it runs operations;
// the operation is executing from then until it calls finish(). A synchronous operation calls finish()
// before start() returns; an asynchronous one starts something (a timer, an animation, work on another
// queue) and calls finish() later, from any thread. The queue starts its next operation only then.
//
// The queue does not keep a running operation alive: an asynchronous one keeps itself alive by handing
// shared_from_this() to whatever will finish it. So the chain of ownership runs from that timer,
// animation or worker to the operation, and through its completion to the queue and the operations
// still waiting; when the finisher is dropped unfinished (a main loop torn down with the timer pending),
// all of it goes with it instead of holding itself in a cycle.
//
// An operation belongs to at most one queue and runs at most once. Cancelling it before it starts means
// it never starts; cancelling it while it runs only sets isCancelled(), which it may consult.
//
// Thread safety: cancel(), finish() and the state queries may be called from any thread.
class Operation : public std::enable_shared_from_this<Operation> {
public:
    virtual ~Operation() = default;
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    void cancel() { m_cancelled.store(true); }
    bool isCancelled() const { return m_cancelled.load(); }
    bool isExecuting() const { return m_executing.load(); }
    bool isFinished() const { return m_finished.load(); }

protected:
    Operation() = default;

    virtual void start() = 0;
    // Ends the operation. Only the first call counts.
    void finish();

private:
    friend class OperationQueue;

    // Called by the queue: starts the operation, or, when it was cancelled first, ends it unstarted.
    void run(std::function<void()> onFinished);
    // Called by the queue when it drops the operation unstarted.
    void discard();

    std::atomic<bool> m_enqueued{false};
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_executing{false};
    std::atomic<bool> m_finished{false};
    std::mutex m_mutex;
    std::function<void()> m_onFinished; // guarded by m_mutex
};

// An operation that runs a closure and finishes when it returns.
class BlockOperation final : public Operation {
public:
    explicit BlockOperation(std::function<void()> block)
        : m_block(std::move(block)) {}

protected:
    void start() override;

private:
    std::function<void()> m_block;
};

} // namespace core
