#include "crashlog/capture/CLGFutex.h"

#include <climits>
#include <ctime>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace zm {
namespace {

// The kernel waits on the word's address; a lock-free std::atomic<uint32_t> is the word itself.
static_assert(sizeof(std::atomic<uint32_t>) == sizeof(uint32_t) && std::atomic<uint32_t>::is_always_lock_free);

uint32_t* wordOf(std::atomic<uint32_t>& word) {
    return reinterpret_cast<uint32_t*>(&word);
}

} // namespace

int64_t CLGMonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void CLGFutexWake(uint32_t* word) {
    syscall(SYS_futex, word, FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
}

void CLGFutexWake(std::atomic<uint32_t>& word) {
    CLGFutexWake(wordOf(word));
}

uint32_t CLGFutexWaitWhile(uint32_t* word, uint32_t value, int64_t deadline) {
    for (;;) {
        const uint32_t seen = std::atomic_ref<uint32_t>(*word).load();
        if (seen != value)
            return seen;
        timespec timeout{};
        if (deadline >= 0) {
            const int64_t left = deadline - CLGMonotonicNanoseconds();
            if (left <= 0)
                return seen;
            timeout = {static_cast<time_t>(left / 1'000'000'000), static_cast<long>(left % 1'000'000'000)};
        }
        syscall(SYS_futex, word, FUTEX_WAIT_PRIVATE, value, deadline >= 0 ? &timeout : nullptr, nullptr, 0);
    }
}

uint32_t CLGFutexWaitWhile(std::atomic<uint32_t>& word, uint32_t value, int64_t deadline) {
    return CLGFutexWaitWhile(wordOf(word), value, deadline);
}

} // namespace zm
