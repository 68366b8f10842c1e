#pragma once

#include "platform/core/DeviceEvents.h"
#include "platform/core/Geometry.h"

#include <string_view>

namespace ui {

// Which way up the interface is shown. The numbers are those stored settings and notifications use.
enum class InterfaceOrientation {
    Portrait = 1,
    PortraitUpsideDown = 2,
    LandscapeRight = 3,
    LandscapeLeft = 4,
};

constexpr bool isLandscape(InterfaceOrientation orientation) {
    return orientation == InterfaceOrientation::LandscapeRight ||
           orientation == InterfaceOrientation::LandscapeLeft;
}

// Posted on the default notification centre, without a sender, when the status bar's orientation
// changes (and, with it, the device's), with the new orientation under core::kOrientationKey.
inline constexpr std::string_view statusBarOrientationDidChangeNotification =
    core::kStatusBarOrientationDidChangeNotification;
inline constexpr std::string_view deviceOrientationDidChangeNotification =
    core::kDeviceOrientationDidChangeNotification;

// The strip of system information along the top of a screen, and the orientation of the interface
// it follows. Our windows neither turn nor show one: the orientation stays upright and the frame
// empty, unless a test sets another to see how an overlay follows a turned interface.
//
// Main thread only.
struct StatusBar {
    InterfaceOrientation orientation = InterfaceOrientation::Portrait;
    core::Rect frame;

    static const StatusBar& current();
    // Takes `statusBar`; a change of orientation is announced with both notifications above.
    static void setCurrent(const StatusBar& statusBar);
};

} // namespace ui
