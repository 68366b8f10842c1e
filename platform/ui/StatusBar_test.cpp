#include "platform/ui/StatusBar.h"

#include "platform/core/NotificationCenter.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(StatusBar, ATurnTellsTheStatusBarAndTheDeviceWhichWayItTurned) {
    std::vector<std::pair<std::string, int64_t>> heard;
    std::vector<core::NotificationCenter::Observation> observations;
    for (const std::string_view name : {statusBarOrientationDidChangeNotification, deviceOrientationDidChangeNotification}) {
        observations.push_back(core::NotificationCenter::defaultCenter().addObserver(
            std::string(name), nullptr, [&](const core::Notification& notification) {
                const core::Value* orientation = notification.userInfo.find(core::kOrientationKey);
                heard.emplace_back(notification.name, orientation ? orientation->integerValue() : 0);
            }));
    }
    StatusBar::setCurrent({InterfaceOrientation::LandscapeLeft, {}});
    StatusBar::setCurrent({InterfaceOrientation::LandscapeLeft, {0, 0, 20, 480}}); // no turn: no word
    StatusBar::setCurrent({});
    EXPECT_EQ(heard, (std::vector<std::pair<std::string, int64_t>>{
                         {"StatusBarOrientationDidChangeNotification", 4},
                         {"DeviceOrientationDidChangeNotification", 4},
                         {"StatusBarOrientationDidChangeNotification", 1},
                         {"DeviceOrientationDidChangeNotification", 1},
                     }));
}

} // namespace
} // namespace ui
