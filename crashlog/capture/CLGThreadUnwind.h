#pragma once

#include "crashlog/capture/CLGUnwindCursor.h"

#include <cstdint>
#include <ucontext.h>

namespace zm {

struct CLGCrashImages;

// The frames of one thread: its program counter, then one return address per caller.
inline constexpr uint32_t kCLGFrameLimit = kCLGUnwindStepLimit - 1;

// Trivially constructible, so that a table of them in the arena costs nothing until used.
struct CLGThreadFrames {
    uint64_t addresses[kCLGFrameLimit];
    uint32_t count;
};

// Unwinds the calling thread from `context`, the registers a signal interrupted it at, into `frames`:
// by the binaries' own unwind tables (.eh_frame, through libunwind's local unwinder, which is safe in a
// signal handler), so that frames of code without frame pointers (the C library, optimised builds)
// are found too; where the tables end early the checked frame-pointer walk goes on from the last frame
// they gave. A fault on the way ends that road (CLGFaultGuard) instead of the process. Frames past
// the first must lie in an image of `images` (when given). Crash time: nothing is allocated.
//
// Must run on the thread itself (inside a signal handler for it): libunwind reads the stack in place.
void CLGThreadUnwind(const ucontext_t& context, const CLGCrashImages* images, CLGThreadFrames& frames);

// The checked frame-pointer walk alone, from `context`; usable on another, stopped thread's registers.
void CLGThreadUnwindByFramePointers(const CLGMachineContext& context, const CLGCrashImages* images,
                                    CLGThreadFrames& frames);

// Readies libunwind ahead of any crash (its first use sets up state of its own).
void CLGThreadUnwindPrepare();

} // namespace zm
