#pragma once

#include "crashlog/controller/CLGAlertPresenter.h"

#include <functional>
#include <memory>
#include <vector>

namespace zm {

// Asks the player, with the interface's alert view, whether the report of a crash may be sent.
//
// Main thread only (the crash reporter presents on the main queue).
class CrashReportAlertPresenter : public CLGAlertPresenter {
public:
    void presentAlert(const CLGAlert& alert, std::function<void(int buttonIndex)> clicked) override;

private:
    class Answer;
    // The alerts waiting for the player, each until a button is chosen.
    std::vector<std::shared_ptr<Answer>> m_waiting;
};

} // namespace zm
