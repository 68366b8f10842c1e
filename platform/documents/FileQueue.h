#pragma once

#include <atomic>
#include <functional>
#include <memory>

namespace core {
class DispatchQueue;
}

namespace documents {

// Where documents read, save, move and delete their files: one serial queue off the main thread, so
// that the work on one file happens in the order it was asked for (a delete after the save before it,
// an open after the save of the same file), whichever object asked.
//
// Thread safety: every operation may be called from any thread.
class FileQueue {
public:
    static FileQueue& shared();

    void async(std::function<void()> work);
    // Runs `work` on the queue and waits for it (at once when called on the queue itself).
    void sync(std::function<void()> work);

    // Waits until everything submitted so far has run; whether nothing is waiting or running.
    void waitUntilIdle();
    bool isIdle() const { return m_pending.load() == 0; }

private:
    FileQueue();

    std::shared_ptr<core::DispatchQueue> m_queue;
    std::atomic<int> m_pending{0};
};

} // namespace documents
