#pragma once

#include <string_view>

namespace core {

// Changes of the device's state, posted to the default notification centre without a sender. A desktop
// neither turns nor senses what is near its screen, and nothing watches its battery, so on this system
// only a turned status bar (see ui::StatusBar) posts them; observers of any layer may listen all the same.
inline constexpr std::string_view kDeviceOrientationDidChangeNotification = "DeviceOrientationDidChangeNotification";
inline constexpr std::string_view kDeviceBatteryStateDidChangeNotification = "DeviceBatteryStateDidChangeNotification";
inline constexpr std::string_view kDeviceBatteryLevelDidChangeNotification = "DeviceBatteryLevelDidChangeNotification";
inline constexpr std::string_view kDeviceProximityStateDidChangeNotification =
    "DeviceProximityStateDidChangeNotification";
inline constexpr std::string_view kStatusBarOrientationDidChangeNotification =
    "StatusBarOrientationDidChangeNotification";

// The orientations' user information: the new orientation under this key, as a number from 1 (upright)
// to 4, so that an observer that cannot ask the interface still learns it.
inline constexpr std::string_view kOrientationKey = "orientation";

} // namespace core
