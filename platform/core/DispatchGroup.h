#pragma once

#include "platform/core/Clock.h"

#include <functional>
#include <memory>

namespace core {

class DispatchQueue;

// Tracks a set of tasks, possibly on several queues, and tells when all of them are done: by waiting
// for them (untimed, or with a timeout on the current clock), or by running closures on a queue once
// the last one has left.
//
// The group is a handle to shared state: work submitted through it keeps that state alive, so the
// handle may be dropped while the work runs.
//
// Thread safety: every operation may be called from any thread.
class DispatchGroup {
public:
    using Work = std::function<void()>;

    DispatchGroup();

    // Marks one more task as begun / finished. Every enter() needs one leave().
    void enter();
    void leave();

    // Runs `work` on `queue` as one task of the group.
    void async(const std::shared_ptr<DispatchQueue>& queue, Work work);

    // Runs `work` on `queue` once the group is empty (at once when it is empty now).
    void notify(const std::shared_ptr<DispatchQueue>& queue, Work work);

    // Waits until the group is empty.
    void wait();
    // Waits until the group is empty or `timeout` has passed. Answers whether the group is empty.
    bool waitFor(Duration timeout);

    struct State;

private:
    std::shared_ptr<State> m_state;
};

} // namespace core
