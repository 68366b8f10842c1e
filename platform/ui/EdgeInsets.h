#pragma once

#include "platform/core/Geometry.h"

#include <algorithm>

namespace ui {

// Distances kept free inside a rectangle's edges (negative values reach outside them).
struct EdgeInsets {
    float top = 0;
    float left = 0;
    float bottom = 0;
    float right = 0;

    // The rectangle with its edges moved inward by the insets; never narrower or lower than zero.
    core::Rect inset(const core::Rect& rect) const {
        const core::Rect r = rect.standardized();
        return {r.minX() + left, r.minY() + top, std::max(0.0f, r.width() - left - right),
                std::max(0.0f, r.height() - top - bottom)};
    }

    friend bool operator==(const EdgeInsets&, const EdgeInsets&) = default;
};

} // namespace ui
