#pragma once

#include <cstdint>

namespace zm {

// The memory a thread's stack occupies: [low, high). Empty (both 0) when unknown.
struct CLGStackBounds {
    uint64_t low = 0;
    uint64_t high = 0;

    bool known() const { return high > low; }
    // Whether `size` bytes at `address` lie inside.
    bool holds(uint64_t address, uint64_t size) const {
        return known() && address >= low && address <= high && size <= high - address;
    }
};

// The stack of the thread whose stack pointer is `stackPointer`, from the process's memory map: the
// readable and writable mapping that holds it, or, when the pointer has run into the guard below a
// stack (an overflow), the writable mapping just above it. Crash time: only open, read and close on
// /proc/self/maps, nothing allocated.
CLGStackBounds CLGStackBoundsOf(uint64_t stackPointer);

} // namespace zm
