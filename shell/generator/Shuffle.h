#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace zm {

// A position below `count` (at least 2) drawn from the process's C random() sequence: a draw
// masked to the smallest power of two that holds `count`, drawn again while it is too large.
size_t shuffleDrawBelow(size_t count);

// Shuffles in place, from the back: each step exchanges the last unsettled position with a drawn
// one at or before it. Arrays of fewer than two elements draw nothing.
template <class T> void shuffleArray(std::vector<T>& array) {
    for (size_t count = array.size(); count > 1; --count)
        std::swap(array[count - 1], array[shuffleDrawBelow(count)]);
}

} // namespace zm
