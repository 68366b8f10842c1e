#pragma once

#include <cstdint>

namespace zm {

// Coefficient arithmetic is 32-bit and wraps around like the machine's, defined for every input.

inline int32_t wrappingAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t wrappingMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

inline int32_t wrappingNeg(int32_t a) {
    return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
}

} // namespace zm
