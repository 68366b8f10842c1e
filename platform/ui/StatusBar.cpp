#include "platform/ui/StatusBar.h"

#include "platform/core/NotificationCenter.h"

#include <string>

namespace ui {

namespace {

StatusBar& currentStatusBar() {
    static StatusBar statusBar;
    return statusBar;
}

} // namespace

const StatusBar& StatusBar::current() {
    return currentStatusBar();
}

void StatusBar::setCurrent(const StatusBar& statusBar) {
    const bool turned = statusBar.orientation != currentStatusBar().orientation;
    currentStatusBar() = statusBar;
    if (!turned)
        return;
    core::NotificationCenter& center = core::NotificationCenter::defaultCenter();
    const core::Dictionary turnedTo{{std::string(core::kOrientationKey), static_cast<int>(statusBar.orientation)}};
    center.post(std::string(statusBarOrientationDidChangeNotification), nullptr, turnedTo);
    center.post(std::string(deviceOrientationDidChangeNotification), nullptr, turnedTo);
}

} // namespace ui
