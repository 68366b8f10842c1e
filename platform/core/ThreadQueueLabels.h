#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace core {

// Which dispatch queue each thread is working for, kept where code that may neither lock nor
// allocate can read it: a crash reporter naming the queues of a frozen process. The queues publish
// their label for the threads that run their work (a serial queue for its own thread, the global
// queue for its workers, the main loop for the main thread).
//
// Thread safety: publishing and withdrawing may happen on any thread; labelOf takes no lock, makes no
// call that may block or allocate, and is safe inside a signal handler.
class ThreadQueueLabels {
public:
    static constexpr size_t kCapacity = 256;
    // Longer labels are cut (a NUL always ends the copy).
    static constexpr size_t kLabelSize = 64;

    // Publishes `label` for the calling thread while alive; when the table is full nothing is
    // published.
    class Scope {
    public:
        explicit Scope(std::string_view label);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        int m_slot;
    };

    // The label published for the kernel thread id `thread`, or null.
    static const char* labelOf(int32_t thread);

    // One entry: a thread id (0 when free, -1 while being filled) and its label.
    struct Entry {
        std::atomic<int32_t> thread;
        char label[kLabelSize];
    };

private:
    static int publish(int32_t thread, std::string_view label);
    static void withdraw(int slot);
};

} // namespace core
