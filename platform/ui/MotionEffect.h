#pragma once

#include <string>

namespace ui {

// A tilt effect: on a device that tilts, it would move a property of its view (such as "center.x")
// between a minimum and a maximum offset. Desktops do not tilt, so a view keeps its effects but they
// never move it.
struct MotionEffect {
    enum class Axis { Horizontal, Vertical };

    std::string keyPath;
    Axis axis;
    float minimumRelativeValue;
    float maximumRelativeValue;
};

} // namespace ui
