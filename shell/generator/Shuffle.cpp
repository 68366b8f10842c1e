#include "shell/generator/Shuffle.h"

#include "platform/core/Random.h"

#include <bit>
#include <cassert>

namespace zm {

size_t shuffleDrawBelow(size_t count) {
    assert(count >= 2);
    const size_t range = std::bit_ceil(count);
    for (;;) {
        const size_t draw = static_cast<size_t>(core::cRandom().next()) % range;
        if (draw < count)
            return draw;
    }
}

} // namespace zm
