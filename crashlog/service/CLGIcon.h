#pragma once

#include "platform/core/Encoding.h"
#include "platform/core/Geometry.h"

#include <string>

namespace zm {

// The application's icon as the crash service is told of it: its PNG bytes, their lower-case SHA-1
// text, its size in pixels and whether it is drawn finished.
struct CLGIcon {
    // 152 x 152 pixels.
    static constexpr float kMaxSurfaceArea = 23104;

    core::Bytes data;
    std::string dataHash;
    core::Size size;
    bool prerendered = false;

    float surfaceArea() const { return size.width * size.height; }
    bool isWithinMaxSurfaceArea() const { return surfaceArea() <= kMaxSurfaceArea; }
};

} // namespace zm
