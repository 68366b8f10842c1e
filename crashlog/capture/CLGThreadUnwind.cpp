#include "crashlog/capture/CLGThreadUnwind.h"

#include "crashlog/capture/CLGCrashImages.h"
#include "crashlog/capture/CLGFaultGuard.h"

#define UNW_LOCAL_ONLY
#include <libunwind.h>

#include <cstring>

namespace zm {
namespace {

struct Walk {
    ucontext_t context;
    const CLGCrashImages* images;
    CLGThreadFrames* frames;
    // Where the unwind tables left off: the registers of the last frame they gave.
    volatile uint64_t pc;
    volatile uint64_t framePointer;
    volatile uint64_t stackPointer;
    // Whether the tables reached the end of the stack (nothing left to walk).
    volatile bool ended;
};

bool add(Walk& walk, uint64_t address) {
    CLGThreadFrames& frames = *walk.frames;
    if (frames.count == kCLGFrameLimit)
        return false;
    if (frames.count > 0 && walk.images && !walk.images->holds(address))
        return false;
    frames.addresses[frames.count++] = address;
    return true;
}

void unwindByTables(void* argument) {
    Walk& walk = *static_cast<Walk*>(argument);
    unw_cursor_t cursor;
    if (unw_init_local2(&cursor, &walk.context, UNW_INIT_SIGNAL_FRAME) != 0)
        return;
    for (;;) {
        unw_word_t pc = 0;
        unw_word_t framePointer = 0;
        unw_word_t stackPointer = 0;
        unw_get_reg(&cursor, UNW_REG_IP, &pc);
        unw_get_reg(&cursor, UNW_X86_64_RBP, &framePointer);
        unw_get_reg(&cursor, UNW_REG_SP, &stackPointer);
        if (pc == 0 || !add(walk, pc)) {
            walk.ended = true;
            return;
        }
        walk.pc = pc;
        walk.framePointer = framePointer;
        walk.stackPointer = stackPointer;
        const int step = unw_step(&cursor);
        if (step == 0)
            walk.ended = true;
        if (step <= 0)
            return;
    }
}

void continueByFramePointers(Walk& walk, const CLGMachineContext& from, bool fromItsFirstFrame) {
    CLGUnwindCursor cursor;
    CLGUnwindCursorInit(cursor, from, CLGStackBoundsOf(from.stackPointer()), walk.images);
    // The first step answers the program counter, which the frames hold already unless they are empty.
    if (!CLGUnwindCursorStep(cursor) || (fromItsFirstFrame && !add(walk, cursor.pc)))
        return;
    while (CLGUnwindCursorStep(cursor) && add(walk, cursor.pc)) {
    }
}

} // namespace

void CLGThreadUnwind(const ucontext_t& context, const CLGCrashImages* images, CLGThreadFrames& frames) {
    Walk walk;
    memcpy(&walk.context, &context, sizeof context);
    walk.images = images;
    walk.frames = &frames;
    walk.pc = 0;
    walk.framePointer = 0;
    walk.stackPointer = 0;
    walk.ended = false;
    frames.count = 0;
    CLGFaultGuardRun(unwindByTables, &walk);
    if (walk.ended)
        return;
    // A frame the tables gave without its registers (a fault came between) is dropped.
    while (frames.count > 0 && frames.addresses[frames.count - 1] != walk.pc)
        --frames.count;
    if (frames.count == 0) {
        continueByFramePointers(walk, CLGMachineContext::fromUserContext(context), true);
        return;
    }
    CLGMachineContext last{};
    last.registers[REG_RIP] = static_cast<greg_t>(walk.pc);
    last.registers[REG_RBP] = static_cast<greg_t>(walk.framePointer);
    last.registers[REG_RSP] = static_cast<greg_t>(walk.stackPointer);
    continueByFramePointers(walk, last, false);
}

void CLGThreadUnwindByFramePointers(const CLGMachineContext& context, const CLGCrashImages* images,
                                    CLGThreadFrames& frames) {
    Walk walk;
    walk.images = images;
    walk.frames = &frames;
    frames.count = 0;
    continueByFramePointers(walk, context, true);
}

void CLGThreadUnwindPrepare() {
    unw_set_caching_policy(unw_local_addr_space, UNW_CACHE_NONE);
    unw_context_t context;
    unw_cursor_t cursor;
    unw_getcontext(&context);
    unw_init_local(&cursor, &context);
    unw_step(&cursor);
}

} // namespace zm
