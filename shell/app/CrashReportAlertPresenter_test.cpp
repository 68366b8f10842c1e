#include "shell/app/CrashReportAlertPresenter.h"

#include "platform/host/ScreenTesting.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "shell/testing/ShellTesting.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

class CrashReportAlert : public testing::ShellTest {};

// The label in `view`'s tree that reads `text`.
const ui::Label* findLabel(const ui::View& view, const std::string& text) {
    if (const auto* label = dynamic_cast<const ui::Label*>(&view); label && label->text() == text)
        return label;
    for (const std::shared_ptr<ui::View>& subview : view.subviews()) {
        if (const ui::Label* found = findLabel(*subview, text))
            return found;
    }
    return nullptr;
}

TEST_F(CrashReportAlert, AsksWithEveryButtonLegibleAndPassesTheChoiceOn) {
    const CLGAlert alert{"Send Crash Report?",
                         "Looks like we crashed! Please help us fix the problem by sending a crash report.",
                         "Don't Send",
                         {"Send", "Always Send"}};
    const struct {
        ui::Device device;
        const char* name;
        const char* chosen;
        int index;
    } cases[] = {
        {testing::kPhone, "crash-report-alert-phone", "Always Send", 2},
        {testing::kTablet, "crash-report-alert-tablet", "Don't Send", CLGAlertPresenter::kCancelButtonIndex},
    };
    for (const auto& c : cases) {
        host::HeadlessHost& application = start(c.device);
        CrashReportAlertPresenter presenter;
        std::optional<int> clicked;
        presenter.presentAlert(alert, [&](int index) { clicked = index; });
        application.advance(0.5);
        const auto frame = host::testing::keepScreenshot(application, c.name);
        for (const std::string& text : {alert.title, alert.message}) {
            const ui::Label* label = findLabel(application.window(), text);
            ASSERT_TRUE(label) << text;
            host::testing::expectLegible(*frame, *label, c.device.scale);
        }
        for (const char* title : {"Don't Send", "Send", "Always Send"})
            EXPECT_TRUE(host::testing::findButton(application.window(), title)) << title;
        ui::Button* chosen = host::testing::findButton(application.window(), c.chosen);
        host::testing::tap(application, host::testing::middleInWindow(*chosen));
        application.advance(0.5);
        EXPECT_EQ(clicked, c.index) << c.name;
        EXPECT_TRUE(ui::AlertView::visibleAlerts().empty()) << c.name;
    }
}

} // namespace
} // namespace zm
