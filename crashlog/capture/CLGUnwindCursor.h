#pragma once

#include "crashlog/capture/CLGMachineContext.h"

#include <cstdint>

namespace zm {

// Walks a thread's stack by its frame pointers: the first frame is the program counter, each further
// one the return address of a frame record (the caller's frame pointer, then the return address, at
// the frame pointer). Records are read through the kernel, so a corrupt chain ends the walk instead of
// faulting. A thread yields at most 511 frames.
struct CLGUnwindCursor {
    uint64_t pc = 0;
    uint64_t framePointer = 0;
    uint64_t stackPointer = 0;
    uint32_t steps = 0;
};

inline constexpr uint32_t kCLGUnwindStepLimit = 512;

void CLGUnwindCursorInit(CLGUnwindCursor& cursor, const CLGMachineContext& context);

// Moves to the next frame; false once the chain ends (an unreadable record, a zero link or return
// address, or the step limit). The frame is then the cursor's pc.
bool CLGUnwindCursorStep(CLGUnwindCursor& cursor);

} // namespace zm
