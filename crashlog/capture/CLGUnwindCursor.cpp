#include "crashlog/capture/CLGUnwindCursor.h"

#include "crashlog/capture/CLGMemory.h"

#include <cstring>

namespace zm {

CLGMachineContext CLGMachineContext::fromUserContext(const ucontext_t& context) {
    CLGMachineContext machine;
    memcpy(machine.registers, context.uc_mcontext.gregs, sizeof machine.registers);
    return machine;
}

void CLGUnwindCursorInit(CLGUnwindCursor& cursor, const CLGMachineContext& context) {
    cursor.pc = context.pc();
    cursor.framePointer = context.framePointer();
    cursor.stackPointer = context.stackPointer();
    cursor.steps = 0;
}

bool CLGUnwindCursorStep(CLGUnwindCursor& cursor) {
    ++cursor.steps;
    if (cursor.steps == 1)
        return true;
    uint64_t record[2];
    if (!CLGReadMemory(reinterpret_cast<const void*>(cursor.framePointer), record, sizeof record))
        return false;
    cursor.framePointer = record[0];
    cursor.pc = record[1];
    return cursor.pc != 0 && cursor.framePointer != 0 && cursor.steps < kCLGUnwindStepLimit;
}

} // namespace zm
