#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TouchScript.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

// A window with one button at (100, 100, 80, 40) that logs the events it reports.
class ButtonTouches : public ::testing::Test {
protected:
    void SetUp() override {
        window->addSubview(button);
        const std::pair<ControlEvent, const char*> names[] = {
            {ControlEvent::TouchDown, "down"},         {ControlEvent::TouchDownRepeat, "repeat"},
            {ControlEvent::TouchDragExit, "exit"},     {ControlEvent::TouchDragEnter, "enter"},
            {ControlEvent::TouchUpInside, "upInside"}, {ControlEvent::TouchUpOutside, "upOutside"},
            {ControlEvent::TouchCancel, "cancel"},
        };
        for (const auto& [event, name] : names)
            button->addTarget(event, [this, name = std::string(name)](Control&) { events.push_back(name); });
    }

    std::shared_ptr<Window> window = Window::create({0, 0, 480, 320});
    std::shared_ptr<Button> button = Button::create({100, 100, 80, 40});
    testing::TouchScript fingers{*window};
    std::vector<std::string> events;
};

TEST_F(ButtonTouches, ATapInsideIsTouchUpInsideAndHighlightsMeanwhile) {
    fingers.down({120, 110});
    EXPECT_TRUE(button->isHighlighted());
    EXPECT_EQ(button->state(), ControlState::Highlighted);
    fingers.up({125, 115});
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_EQ(events, (std::vector<std::string>{"down", "upInside"}));
}

TEST_F(ButtonTouches, DraggingFarOutsideUnhighlightsAndEndsOutside) {
    fingers.down({120, 110});
    fingers.move({230, 110}); // within the slack of 70 points: still inside
    EXPECT_TRUE(button->isHighlighted());
    fingers.move({300, 110});
    EXPECT_FALSE(button->isHighlighted());
    fingers.move({150, 120});
    EXPECT_TRUE(button->isHighlighted());
    fingers.move({400, 300});
    fingers.up({400, 300});
    EXPECT_EQ(events, (std::vector<std::string>{"down", "exit", "enter", "exit", "upOutside"}));
}

TEST_F(ButtonTouches, ACancelledTouchIsNoTap) {
    fingers.down({120, 110});
    fingers.cancel({120, 110});
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_EQ(events, (std::vector<std::string>{"down", "cancel"}));
}

TEST_F(ButtonTouches, ADisabledButtonReportsNothing) {
    button->setEnabled(false);
    fingers.tap({120, 110});
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(button->state(), ControlState::Disabled);
}

TEST_F(ButtonTouches, AQuickSecondTapIsARepeat) {
    window->dispatchTouches(std::vector<Window::TouchInput>{{0, TouchPhase::Began, {120, 110}}}, 1.0);
    window->dispatchTouches(std::vector<Window::TouchInput>{{0, TouchPhase::Ended, {120, 110}}}, 1.05);
    window->dispatchTouches(std::vector<Window::TouchInput>{{0, TouchPhase::Began, {121, 111}}}, 1.2);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "upInside", "down", "repeat"}));
}

TEST_F(ButtonTouches, ATargetMayRemoveTheButtonWhileItRuns) {
    button->addTarget(ControlEvent::TouchUpInside, [](Control& sender) { sender.removeFromSuperview(); });
    std::weak_ptr<Button> weak = button;
    button.reset();
    fingers.tap({120, 110});
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(events, (std::vector<std::string>{"down", "upInside"}));
}

TEST(Button, LooksFallBackToTheNormalState) {
    auto button = Button::create({0, 0, 100, 40});
    button->setTitle("Help");
    button->setTitle("Stop", ControlState::Selected);
    button->setTitleColor(core::Color::black());
    EXPECT_EQ(button->currentTitle(), "Help");
    EXPECT_EQ(button->titleLabel().text(), "Help");
    button->setSelected(true);
    EXPECT_EQ(button->titleLabel().text(), "Stop");
    EXPECT_EQ(button->currentTitleColor(), core::Color::black());
    // Exactly-set looks are told apart from fallbacks.
    EXPECT_EQ(button->titleColor(ControlState::Selected), std::nullopt);
    EXPECT_EQ(button->title(ControlState::Highlighted), std::nullopt);
    // A combination of states has a look only when one was set for that exact combination.
    button->setHighlighted(true);
    EXPECT_EQ(button->state(), ControlState::Highlighted | ControlState::Selected);
    EXPECT_EQ(button->currentTitle(), "Help");
}

TEST(Button, InsetsPlaceTheTitle) {
    auto button = Button::create({0, 0, 100, 40});
    button->setContentEdgeInsets({2, 4, 2, 4});
    button->setTitleEdgeInsets({0, 8, 0, 8});
    button->layoutIfNeeded();
    EXPECT_EQ(button->titleLabel().frame(), core::Rect(12, 2, 76, 36));
}

TEST(Label, ShrinksToTheWidthDownToTheMinimumScale) {
    auto label = Label::create({0, 0, 60, 20});
    label->setFont(gfx::Font::system(20));
    label->setText("A rather long title");
    EXPECT_EQ(label->fittingScale(), 1); // not asked to shrink
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumScaleFactor(0.1f);
    const float scale = label->fittingScale();
    EXPECT_LT(scale, 1);
    EXPECT_LE(gfx::measureText(scaledText(gfx::AttributedText(label->text(), label->font()), scale)).width,
              60);
    label->setMinimumScaleFactor(0.9f);
    EXPECT_FLOAT_EQ(label->fittingScale(), 0.9f);
    label->setText("Hi");
    EXPECT_EQ(label->fittingScale(), 1);
}

TEST(Label, TakesNoTouchesAndSizesToItsText) {
    auto label = Label::create();
    EXPECT_FALSE(label->isUserInteractionEnabled());
    label->setText("Undo");
    label->setFont(gfx::Font::system(15));
    label->sizeToFit();
    const core::Size measured = gfx::measureText("Undo", gfx::Font::system(15));
    EXPECT_GE(label->frame().width(), measured.width);
    EXPECT_LT(label->frame().width(), measured.width + 1);
    gfx::AttributedText runs;
    runs.append("tap ", gfx::Font::system(10));
    runs.append("drag", gfx::Font::boldSystem(10));
    label->setAttributedText(runs);
    EXPECT_EQ(label->text(), "tap drag");
}

} // namespace
} // namespace ui
