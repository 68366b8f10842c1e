#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TouchScript.h"
#include "platform/ui/UiTesting.h"
#include "platform/ui/Window.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

class Answers : public AlertViewDelegate {
public:
    void alertViewClickedButton(AlertView& alert, int index) override {
        calls.push_back("clicked " + std::to_string(alert.tag()) + ":" + std::to_string(index));
    }
    void alertViewDidDismiss(AlertView& alert, int index) override {
        calls.push_back("dismissed " + std::to_string(alert.tag()) + ":" + std::to_string(index));
    }
    std::vector<std::string> calls;
};

// The buttons of an alert on screen, by title, in window coordinates.
std::vector<std::pair<std::string, core::Rect>> buttonsOnScreen(const View& view) {
    std::vector<std::pair<std::string, core::Rect>> found;
    for (const std::shared_ptr<View>& subview : view.subviews()) {
        if (const auto* button = dynamic_cast<const Button*>(subview.get()))
            found.emplace_back(button->currentTitle(), button->convertRectToView(button->bounds(), nullptr));
        for (auto& inner : buttonsOnScreen(*subview))
            found.push_back(std::move(inner));
    }
    return found;
}

class Alerts : public testing::ApplicationFixture {
protected:
    std::shared_ptr<Answers> answers = std::make_shared<Answers>();
    testing::TouchScript fingers{window};
};

TEST_F(Alerts, ATappedButtonDismissesTheAlertAndTellsTheDelegate) {
    auto offer = AlertView::create("iCloud is Available", "Automatically store your documents in the cloud.",
                                   answers, "Later", {"Use iCloud"});
    offer->setTag(1);
    EXPECT_EQ(offer->cancelButtonIndex(), 0);
    EXPECT_EQ(offer->firstOtherButtonIndex(), 1);
    offer->show();
    advance(0.3);
    EXPECT_TRUE(offer->isVisible());
    const auto buttons = buttonsOnScreen(window);
    ASSERT_EQ(buttons.size(), 2u);
    // Two buttons side by side, cancel at the left.
    EXPECT_EQ(buttons[0].first, "Later");
    EXPECT_EQ(buttons[1].first, "Use iCloud");
    EXPECT_LT(buttons[0].second.maxX(), buttons[1].second.maxX());
    EXPECT_EQ(buttons[0].second.minY(), buttons[1].second.minY());

    fingers.tap({buttons[1].second.midX(), buttons[1].second.midY()});
    EXPECT_EQ(answers->calls, (std::vector<std::string>{"clicked 1:1"}));
    EXPECT_FALSE(offer->isVisible());
    advance(0.3);
    EXPECT_EQ(answers->calls, (std::vector<std::string>{"clicked 1:1", "dismissed 1:1"}));
    EXPECT_TRUE(buttonsOnScreen(window).empty());
}

TEST_F(Alerts, ThreeButtonsStackWithCancelAtTheBottom) {
    auto offer = AlertView::create("You're Not Using iCloud", "What would you like to do?", answers,
                                   "Continue Using iCloud", {"Keep a Local Copy", "Keep on iCloud Only"});
    offer->show();
    const auto buttons = buttonsOnScreen(window);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[2].first, "Continue Using iCloud");
    EXPECT_LT(buttons[0].second.maxY(), buttons[2].second.maxY());
    EXPECT_EQ(offer->buttonTitle(2), "Keep on iCloud Only");
    EXPECT_EQ(offer->buttonTitle(3), "");
    // A scripted choice, as tests of the screens that ask make it.
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1u);
    AlertView::visibleAlerts().back()->dismiss(offer->cancelButtonIndex(), false);
    EXPECT_EQ(answers->calls, (std::vector<std::string>{"clicked 0:0", "dismissed 0:0"}));
    EXPECT_TRUE(AlertView::visibleAlerts().empty());
}

TEST(AlertsWithoutAWindow, StillWaitForAnAnswer) {
    auto answers = std::make_shared<Answers>();
    auto notice = AlertView::create("Progress Reset", "Start from the beginning!", {}, {}, {"Ok"});
    EXPECT_EQ(notice->cancelButtonIndex(), AlertView::kNoButton);
    EXPECT_EQ(notice->firstOtherButtonIndex(), 0);
    notice->show();
    notice->show(); // once
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1u);
    notice->setDelegate(answers);
    notice.reset(); // a shown alert keeps itself
    AlertView::visibleAlerts().front()->dismiss(0, true);
    EXPECT_EQ(answers->calls, (std::vector<std::string>{"clicked 0:0", "dismissed 0:0"}));
    EXPECT_TRUE(AlertView::visibleAlerts().empty());
}

} // namespace
} // namespace ui
