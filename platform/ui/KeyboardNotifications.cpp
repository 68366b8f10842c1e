#include "platform/ui/KeyboardNotifications.h"

#include "platform/core/NotificationCenter.h"

namespace ui {

namespace {

core::Value rectValue(const core::Rect& rect) {
    return core::Dictionary{
        {"x", rect.minX()}, {"y", rect.minY()}, {"width", rect.width()}, {"height", rect.height()}};
}

std::optional<core::Rect> rectFrom(const core::Value* value) {
    if (!value || !value->asDictionary())
        return std::nullopt;
    const auto number = [value](std::string_view key) {
        const core::Value* found = value->find(key);
        return found ? found->floatValue() : 0.0f;
    };
    return core::Rect{number("x"), number("y"), number("width"), number("height")};
}

} // namespace

core::Value KeyboardInfo::userInfo() const {
    return core::Dictionary{{"frameBegin", rectValue(frameBegin)},
                            {"frameEnd", rectValue(frameEnd)},
                            {"animationDuration", animationDuration}};
}

std::optional<KeyboardInfo> KeyboardInfo::from(const core::Notification& notification) {
    const std::optional<core::Rect> begin = rectFrom(notification.userInfo.find("frameBegin"));
    const std::optional<core::Rect> end = rectFrom(notification.userInfo.find("frameEnd"));
    const core::Value* duration = notification.userInfo.find("animationDuration");
    if (!begin || !end || !duration)
        return std::nullopt;
    return KeyboardInfo{*begin, *end, duration->doubleValue()};
}

} // namespace ui
