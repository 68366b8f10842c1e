#include "crashlog/capture/CLGUnwindCursor.h"

#include "crashlog/capture/CLGCrashImages.h"
#include "crashlog/capture/CLGMemory.h"

#include <cstring>

namespace zm {
namespace {

constexpr uint64_t kRecordSize = 16;

} // namespace

CLGMachineContext CLGMachineContext::fromUserContext(const ucontext_t& context) {
    CLGMachineContext machine{};
    memcpy(machine.registers, context.uc_mcontext.gregs, sizeof machine.registers);
    return machine;
}

void CLGUnwindCursorInit(CLGUnwindCursor& cursor, const CLGMachineContext& context, const CLGStackBounds& stack,
                         const CLGCrashImages* images) {
    cursor.pc = context.pc();
    cursor.framePointer = context.framePointer();
    cursor.stackPointer = context.stackPointer();
    cursor.steps = 0;
    cursor.stack = stack;
    cursor.images = images;
}

bool CLGUnwindCursorStep(CLGUnwindCursor& cursor) {
    ++cursor.steps;
    if (cursor.steps == 1)
        return true;
    if (cursor.steps >= kCLGUnwindStepLimit)
        return false;
    const uint64_t record = cursor.framePointer;
    // A record lies at or above the stack pointer (below it nothing is live), word-aligned, and inside
    // the stack.
    if (record < cursor.stackPointer || record % 8 != 0)
        return false;
    if (cursor.stack.known() && !cursor.stack.holds(record, kRecordSize))
        return false;
    uint64_t words[2];
    if (!CLGReadMemory(reinterpret_cast<const void*>(record), words, sizeof words))
        return false;
    const uint64_t caller = words[0];
    const uint64_t returnAddress = words[1];
    if (caller == 0 || returnAddress == 0 || caller <= record)
        return false;
    if (cursor.images && !cursor.images->holds(returnAddress))
        return false;
    cursor.framePointer = caller;
    cursor.pc = returnAddress;
    // The caller's stack pointer once this record is popped.
    cursor.stackPointer = record + kRecordSize;
    return true;
}

} // namespace zm
