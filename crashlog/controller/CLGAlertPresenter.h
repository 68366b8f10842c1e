#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zm {

// An alert as the crash reporter asks for it; the crash reporter knows no views, so the application
// shows it (the shell with its alert view).
struct CLGAlert {
    std::string title;
    std::string message;
    std::string cancelTitle;
    // The other buttons, in order.
    std::vector<std::string> buttonTitles;
};

class CLGAlertPresenter {
public:
    static constexpr int kCancelButtonIndex = 0;

    virtual ~CLGAlertPresenter() = default;
    // Shows `alert` (called on the main queue) and calls `clicked` once, on the main queue, with the
    // index of the button chosen: kCancelButtonIndex for the cancel button, 1 and on for the others in
    // their order.
    virtual void presentAlert(const CLGAlert& alert, std::function<void(int buttonIndex)> clicked) = 0;
};

} // namespace zm
