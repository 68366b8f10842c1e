#pragma once

#include "platform/core/Clock.h"

#include <functional>
#include <memory>
#include <string>

namespace core {

// A queue that runs closures one after another in the order they were submitted (the global queue runs
// them side by side). Three kinds exist:
//   main()          the main loop: all UI and model work runs there;
//   global()        a pool of worker threads for independent background work;
//   serial(label)   a worker thread of its own, named after the label.
// Queues are shared objects: a closure may keep the queue it runs on alive.
//
// Thread safety: every operation may be called from any thread.
class DispatchQueue : public std::enable_shared_from_this<DispatchQueue> {
public:
    using Work = std::function<void()>;

    virtual ~DispatchQueue() = default;
    DispatchQueue(const DispatchQueue&) = delete;
    DispatchQueue& operator=(const DispatchQueue&) = delete;

    // The queue of the main loop that is running; when none is, a queue that drops what it is given.
    static std::shared_ptr<DispatchQueue> main();
    // The concurrent queue shared by the whole process.
    static std::shared_ptr<DispatchQueue> global();
    // A new serial queue whose thread is named after `label` (see Thread::kernelName). The thread starts
    // with the first work; destroying the queue runs the work already submitted and ends the thread.
    static std::shared_ptr<DispatchQueue> serial(std::string label);

    const std::string& label() const { return m_label; }

    // Runs `work` on the queue later and returns at once.
    virtual void async(Work work) = 0;

    // Runs `work` on the queue once `delay` has passed on the current clock (see currentClock()). The
    // delayed work holds the queue weakly: when the queue is gone by then, the work is dropped.
    void after(Duration delay, Work work);

    // Runs `work` on the queue and waits until it has run. Called on the queue itself, it runs `work`
    // at once instead of waiting for itself. Returns without running `work` when the queue drops it.
    void sync(Work work);

    // Whether the calling code runs on this queue (for the main queue: on the main loop's thread).
    virtual bool isCurrent() const = 0;

protected:
    explicit DispatchQueue(std::string label);

private:
    std::string m_label;
};

} // namespace core
