#pragma once

#include "crashlog/capture/CLGMachineContext.h"
#include "crashlog/capture/CLGStackBounds.h"

#include <cstdint>

namespace zm {

struct CLGCrashImages;

// Walks a thread's stack by its frame pointers: the first frame is the program counter, each further
// one the return address of a frame record (the caller's frame pointer, then the return address, at
// the frame pointer). The chain is checked before it is believed: each record must lie inside the
// thread's stack, above the one before (so the walk only moves up and cannot loop), and each return
// address inside a loaded image; code built without frame pointers (the C library) leaves other
// values in the register, which end the walk there instead of giving frames that never were. Records
// are read through the kernel, so a corrupt chain ends the walk instead of faulting. A thread yields at
// most 511 frames.
struct CLGUnwindCursor {
    uint64_t pc = 0;
    uint64_t framePointer = 0;
    uint64_t stackPointer = 0;
    uint32_t steps = 0;
    // Where the records may lie; any upward address when unknown.
    CLGStackBounds stack;
    // Where return addresses may lie; anywhere when null.
    const CLGCrashImages* images = nullptr;
};

inline constexpr uint32_t kCLGUnwindStepLimit = 512;

void CLGUnwindCursorInit(CLGUnwindCursor& cursor, const CLGMachineContext& context, const CLGStackBounds& stack,
                         const CLGCrashImages* images);

// Moves to the next frame; false once the chain ends (a record outside the stack or below the last
// one, an unreadable record, a zero link, a return address in no image, or the step limit). The frame
// is then the cursor's pc.
bool CLGUnwindCursorStep(CLGUnwindCursor& cursor);

} // namespace zm
