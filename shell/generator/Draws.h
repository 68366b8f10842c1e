#pragma once

// What the generator's recipes are written in: single draws of the process's random source, and
// lists made from terms. Only the generator's own sources include this.

#include "model/ExprSoloist.h"
#include "platform/core/Random.h"
#include "shell/generator/Shuffle.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zm::draws {

// One uniform unsigned 32-bit draw; every call is a separate draw.
inline uint32_t draw() {
    return core::randomU32();
}

// A draw's remainder by `n` (not 0).
inline uint32_t drawMod(uint32_t n) {
    return draw() % n;
}

// A draw whose lowest bit is 1.
inline bool oddDraw() {
    return (draw() & 1u) != 0;
}

inline std::vector<ExprPtr> exprsOf(const std::vector<std::shared_ptr<ExprSoloist>>& terms) {
    return {terms.begin(), terms.end()};
}

// The members in a shuffled order.
inline std::vector<ExprPtr> shuffled(std::vector<ExprPtr> members) {
    shuffleArray(members);
    return members;
}

} // namespace zm::draws
