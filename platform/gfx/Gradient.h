#pragma once

#include "platform/core/Color.h"

#include <vector>

namespace gfx {

struct GradientStop {
    float location; // 0 at the start of the gradient, 1 at its end
    core::Color color;
};

// Colours along a line or between two circles, for Canvas's gradient drawing. Stops are taken in
// the order of their locations.
struct Gradient {
    std::vector<GradientStop> stops;
};

// Whether a gradient also paints before its start (with the first stop's colour) and past its
// end (with the last stop's colour); by default it paints neither.
struct GradientExtension {
    bool beforeStart = false;
    bool afterEnd = false;
};

} // namespace gfx
