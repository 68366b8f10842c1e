#include "crashlog/capture/CLGFaultGuard.h"

#include <atomic>
#include <csetjmp>
#include <cstdint>
#include <sys/syscall.h>
#include <unistd.h>

namespace zm {
namespace {

// One guarded thread: its id and where to jump back to. Static storage, so that a signal handler
// finds it without anything having been set up.
struct Guard {
    std::atomic<int32_t> thread;
    sigjmp_buf* jump;
};

constinit Guard g_guards[kCLGFaultGuardLimit] = {};

int32_t currentThreadId() {
    return static_cast<int32_t>(syscall(SYS_gettid));
}

Guard* claim(int32_t thread) {
    for (Guard& guard : g_guards) {
        int32_t free = 0;
        if (guard.thread.compare_exchange_strong(free, thread))
            return &guard;
    }
    return nullptr;
}

} // namespace

bool CLGFaultGuardRun(void (*work)(void*), void* argument) {
    Guard* guard = claim(currentThreadId());
    if (!guard) {
        work(argument);
        return true;
    }
    sigjmp_buf jump;
    // The signal mask is saved too: the jump leaves a handler in which the fault's signal is blocked.
    if (sigsetjmp(jump, 1) != 0) {
        guard->jump = nullptr;
        guard->thread.store(0);
        return false;
    }
    guard->jump = &jump;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    work(argument);
    guard->jump = nullptr;
    guard->thread.store(0);
    return true;
}

void CLGFaultGuardRecover() {
    const int32_t self = currentThreadId();
    for (Guard& guard : g_guards) {
        if (guard.thread.load() == self && guard.jump)
            siglongjmp(*guard.jump, 1);
    }
}

} // namespace zm
