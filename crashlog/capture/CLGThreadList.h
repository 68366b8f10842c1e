#pragma once

#include "crashlog/capture/CLGMachineContext.h"
#include "crashlog/capture/CLGThreadUnwind.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <signal.h>

namespace zm {

class CLGRecordWriter;
struct CLGCrashImages;

// The most threads a crash record describes; threads past it are left out.
inline constexpr size_t kCLGThreadLimit = 512;

// Where a thread asked to freeze leaves its registers and its own frames and waits: one slot per
// listed thread, prepared before any crash (in the capture context's writable region). The fields are
// reached through std::atomic_ref: the slots are trivially constructible, so that the arena's zeroed
// pages are idle slots and making them touches no page. `state` is a futex word.
struct CLGFreezeSlot {
    enum State : uint32_t { Idle = 0, Requested = 1, Unwinding = 2, Frozen = 3, Released = 4 };
    int32_t thread;
    uint32_t state;
    CLGMachineContext context;
    CLGThreadFrames frames;
};

// The real-time signal that asks a thread to freeze.
int CLGFreezeSignal();

// Installs the handler of the freeze signal: a thread asked to freeze keeps its registers in its slot
// of `slots` (one per thread of kCLGThreadLimit), unwinds its own stack there (with `images` for the
// checks), and waits until released. False when the kernel refuses.
bool CLGThreadFreezeInstall(CLGFreezeSlot* slots, const CLGCrashImages* images);

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
    // The images every frame past a thread's first must lie in.
    const CLGCrashImages* images = nullptr;
    // Whether slot i holds thread i's registers and frames (frozen, or the writer itself).
    bool frozen[kCLGThreadLimit] = {};
    // Whether slot i holds only thread i's registers: it was still unwinding when the wait ended.
    bool stalled[kCLGThreadLimit] = {};
};

// Lists the process's threads (from /proc/self/task). False, with a count of 0, when they cannot be
// listed.
bool CLGThreadListCreate(CLGThreadList& list, int32_t crashedThread, const ucontext_t* userContext,
                         bool registerDump, CLGFreezeSlot* slots, const CLGCrashImages* images);

// Unwinds the writer's own thread into its slot: from the crash's user context when the writer is the
// crashed thread, else from where it stands. Done before the others freeze, while a lock that the
// unwinding needs (the dynamic linker's) can still be let go by whoever holds it.
void CLGThreadListUnwindCurrent(CLGThreadList& list);

// Freezes every listed thread but the current one: all are asked at once, each unwinds itself, and
// those that have not frozen within a bounded wait are let go (their frames are then walked by frame
// pointers from the registers they left, if any). Answers whether all froze.
bool CLGThreadListSuspend(CLGThreadList& list);
// Lets every frozen thread go on.
bool CLGThreadListResume(CLGThreadList& list);

// Thread `index`'s registers: the crash's user context for the crashed thread, the registers another
// thread left in its slot, the writer's own for the current thread. False when none are known.
bool CLGThreadGetContext(const CLGThreadList& list, uint32_t index, CLGMachineContext& context);

// The "threads", "thread_state", "thread_names", "dispatch_queue_names" and "runtime" lines.
void CLGWriteThreads(const CLGThreadList& list, CLGRecordWriter& writer);
void CLGWriteThreadState(const CLGThreadList& list, CLGRecordWriter& writer);
void CLGWriteThreadNames(const CLGThreadList& list, CLGRecordWriter& writer);
void CLGWriteQueueNames(const CLGThreadList& list, CLGRecordWriter& writer);
void CLGWriteRuntime(const CLGThreadList& list, CLGRecordWriter& writer);

} // namespace zm
