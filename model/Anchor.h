#pragma once

#include <cstdint>

namespace zm {

// The nine points of a rectangle. Every position the model records for a view names one: the point
// of the view's rectangle that is to lie on the recorded point.
enum Anchor : int32_t {
    AnchorTopLeft = 0,
    AnchorTopRight = 1,
    AnchorTopCenter = 2,
    AnchorBottomCenter = 3,
    AnchorBottomLeft = 4,
    AnchorBottomRight = 5,
    AnchorCenter = 6,
    AnchorMiddleLeft = 7,
    AnchorMiddleRight = 8,
};

} // namespace zm
