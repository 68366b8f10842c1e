#include "shell/app/CrashReportAlertPresenter.h"

#include "platform/ui/AlertView.h"

#include <algorithm>

namespace zm {

// Passes the chosen button on, numbered as the crash reporter numbers them (cancel 0, then the others).
class CrashReportAlertPresenter::Answer : public ui::AlertViewDelegate {
public:
    Answer(CrashReportAlertPresenter& presenter, std::function<void(int)> clicked)
        : m_presenter(presenter)
        , m_clicked(std::move(clicked)) {}

    void alertViewClickedButton(ui::AlertView& alert, int buttonIndex) override {
        const bool hasCancel = alert.cancelButtonIndex() != ui::AlertView::kNoButton;
        const auto clicked = std::move(m_clicked);
        std::erase_if(m_presenter.m_waiting, [this](const auto& answer) { return answer.get() == this; });
        // `this` may be gone now; only locals from here on.
        if (clicked)
            clicked(hasCancel ? buttonIndex : buttonIndex + 1);
    }

private:
    CrashReportAlertPresenter& m_presenter;
    std::function<void(int)> m_clicked;
};

void CrashReportAlertPresenter::presentAlert(const CLGAlert& alert, std::function<void(int buttonIndex)> clicked) {
    auto answer = std::make_shared<Answer>(*this, std::move(clicked));
    m_waiting.push_back(answer);
    ui::AlertView::create(alert.title, alert.message, answer, alert.cancelTitle, alert.buttonTitles)->show();
}

} // namespace zm
