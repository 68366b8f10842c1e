#pragma once

#include <string_view>

namespace core {

// The application's lifecycle, as the host tells it (see ui::Application): posted to the default
// notification centre on the main thread, with the application as sender. Observers of any layer may
// listen, so the names live here, beside the centre.

// The program's window took the focus (also when it first opens).
inline constexpr std::string_view kApplicationDidBecomeActiveNotification = "ApplicationDidBecomeActive";
// The window was minimised or hidden.
inline constexpr std::string_view kApplicationDidEnterBackgroundNotification =
    "ApplicationDidEnterBackground";
// The window is shown again after it went to the background.
inline constexpr std::string_view kApplicationWillEnterForegroundNotification =
    "ApplicationWillEnterForeground";
// The program is about to end: observers finish what must last (saving) before the post returns.
inline constexpr std::string_view kApplicationWillTerminateNotification = "ApplicationWillTerminate";

} // namespace core
