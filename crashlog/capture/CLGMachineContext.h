#pragma once

#include <cstdint>
#include <ucontext.h>

#if !defined(__x86_64__)
#error "The crash reporter walks x86_64 frame records and writes x86_64 registers; port CLGMachineContext first."
#endif

namespace zm {

// The registers of one thread, as a signal's user context carries them (the general-purpose set).
// Trivially constructible (a freeze slot holds one): value-initialise a local one, `CLGMachineContext
// context{}`, to start from zeros.
struct CLGMachineContext {
    greg_t registers[NGREG];

    uint64_t pc() const { return static_cast<uint64_t>(registers[REG_RIP]); }
    uint64_t framePointer() const { return static_cast<uint64_t>(registers[REG_RBP]); }
    uint64_t stackPointer() const { return static_cast<uint64_t>(registers[REG_RSP]); }

    static CLGMachineContext fromUserContext(const ucontext_t& context);
};

// The names the "thread_state" line gives the registers, each with its index in the set.
struct CLGRegisterName {
    const char* name;
    int index;
};
inline constexpr CLGRegisterName kCLGRegisterNames[] = {
    {"rax", REG_RAX}, {"rbx", REG_RBX}, {"rcx", REG_RCX}, {"rdx", REG_RDX}, {"rdi", REG_RDI},
    {"rsi", REG_RSI}, {"rbp", REG_RBP}, {"rsp", REG_RSP}, {"r8", REG_R8},   {"r9", REG_R9},
    {"r10", REG_R10}, {"r11", REG_R11}, {"r12", REG_R12}, {"r13", REG_R13}, {"r14", REG_R14},
    {"r15", REG_R15}, {"rip", REG_RIP}, {"rflags", REG_EFL}, {"csgsfs", REG_CSGSFS},
};

} // namespace zm
