#pragma once

#include "platform/core/Geometry.h"
#include "platform/core/Value.h"

#include <optional>
#include <string_view>

namespace core {
struct Notification;
}

namespace ui {

// What the window posts on the default notification centre when an input view (the on-screen
// keyboard of a field) docks at the bottom of the window or leaves it: "will" as it starts to slide,
// "did" once it has arrived or gone. The user information holds the frames in window coordinates
// before and after the slide, and its duration (see KeyboardInfo).
inline constexpr std::string_view keyboardWillShowNotification = "KeyboardWillShowNotification";
inline constexpr std::string_view keyboardDidShowNotification = "KeyboardDidShowNotification";
inline constexpr std::string_view keyboardWillHideNotification = "KeyboardWillHideNotification";
inline constexpr std::string_view keyboardDidHideNotification = "KeyboardDidHideNotification";

struct KeyboardInfo {
    core::Rect frameBegin;
    core::Rect frameEnd;
    double animationDuration = 0;

    core::Value userInfo() const;
    // The information of a keyboard notification; nothing for user information that holds none.
    static std::optional<KeyboardInfo> from(const core::Notification& notification);
};

} // namespace ui
