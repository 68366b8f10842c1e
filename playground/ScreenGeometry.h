#pragma once

#include "platform/core/Geometry.h"

namespace zm {

// The straight distance between two points.
float distanceBetweenPoints(core::Point a, core::Point b);

// The screen the game is laid out for: 480 x 320 on a phone, 1024 x 768 on a tablet (always
// landscape here).
core::Size currentScreenSize();

} // namespace zm
