#pragma once

#include "crashlog/capture/CLGMachineContext.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <signal.h>

namespace zm {

class CLGRecordWriter;

// The most threads a crash record describes; threads past it are left out.
inline constexpr size_t kCLGThreadLimit = 512;

// Where a thread asked to freeze leaves its registers and waits: one slot per listed thread, prepared
// before any crash (in the capture context's writable region). `state` is a futex word.
struct CLGFreezeSlot {
    enum State : uint32_t { Idle = 0, Requested = 1, Frozen = 2, Released = 3 };
    std::atomic<int32_t> thread = 0;
    std::atomic<uint32_t> state = Idle;
    CLGMachineContext context;
};

// The real-time signal that asks a thread to freeze.
int CLGFreezeSignal();

// Installs the handler of the freeze signal, which freezes a thread in its slot of `slots` (one per
// thread of kCLGThreadLimit). False when the kernel refuses.
bool CLGThreadFreezeInstall(CLGFreezeSlot* slots);

// The threads of this process while a crash record is written. Everything lives in the structure (on
// the writer's stack) and in the slots; nothing is allocated.
struct CLGThreadList {
    int32_t task = 0;
    // The thread writing the record.
    int32_t currentThread = 0;
    // The thread that crashed: the faulting thread itself when recording from its signal.
    int32_t crashedThread = 0;
    int32_t threads[kCLGThreadLimit] = {};
    uint32_t count = 0;
    // The crashed thread's user context, when recording from its signal.
    const ucontext_t* userContext = nullptr;
    bool registerDump = true;
    CLGFreezeSlot* slots = nullptr;
    // Whether slot i holds thread i's frozen registers.
    bool frozen[kCLGThreadLimit] = {};
};

// Lists the process's threads (from /proc/self/task). False, with a count of 0, when they cannot be
// listed.
bool CLGThreadListCreate(CLGThreadList& list, int32_t crashedThread, const ucontext_t* userContext,
                         bool registerDump, CLGFreezeSlot* slots);

// Freezes every listed thread but the current one: all are asked at once, and those that have not
// frozen within a bounded wait are let go. Answers whether all froze.
bool CLGThreadListSuspend(CLGThreadList& list);
// Lets every frozen thread go on.
bool CLGThreadListResume(CLGThreadList& list);

// Thread `index`'s registers: the crash's user context for the crashed thread, the frozen registers of
// another thread, the writer's own for the current thread. False when none are known.
bool CLGThreadGetContext(const CLGThreadList& list, uint32_t index, CLGMachineContext& context);

// The "threads", "thread_state", "thread_names", "dispatch_queue_names" and "runtime" lines.
void CLGWriteThreads(const CLGThreadList& list, CLGRecordWriter& writer);
void CLGWriteThreadState(const CLGThreadList& list, CLGRecordWriter& writer);
void CLGWriteThreadNames(const CLGThreadList& list, CLGRecordWriter& writer);
void CLGWriteQueueNames(const CLGThreadList& list, CLGRecordWriter& writer);
void CLGWriteRuntime(const CLGThreadList& list, CLGRecordWriter& writer);

} // namespace zm
