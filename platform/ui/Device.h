#pragma once

#include "platform/core/Geometry.h"

namespace ui {

// The kind of device the game runs as.
enum class Idiom {
    Phone,
    Tablet,
};

// The device the game runs as: its kind, and the screen's pixels per point. The screen is landscape:
// 480 x 320 points on a phone, 1024 x 768 on a tablet.
struct Device {
    Idiom idiom = Idiom::Tablet;
    float scale = 1;

    core::Size screenSize() const;
    bool isTablet() const { return idiom == Idiom::Tablet; }

    // The device of this process, set by the host before anything is shown (a tablet at scale 1 until
    // then). Main thread only.
    static const Device& current();
    static void setCurrent(const Device& device);
};

} // namespace ui
