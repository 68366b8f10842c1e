#include "components/NZTextStylePicker/NZUpDownControl.h"

#include "platform/gfx/Image.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Window.h"

#include <string>

#include <gtest/gtest.h>

namespace zm {
namespace {

// A stepper of 8 to 72 on a white phone screen, counting its reports.
class Stepper : public ::testing::Test {
protected:
    Stepper() {
        auto screen = ui::View::create({{}, host.window().bounds().size});
        screen->setBackgroundColor(core::Color::white());
        host.window().addSubview(screen);
        control->setMinimumAllowedValue(8);
        control->setMaximumAllowedValue(72);
        control->addTarget(ui::ControlEvent::ValueChanged, [this](ui::Control&) { ++reports; });
        screen->addSubview(control);
    }

    core::Point upper() const { return {kFrame.midX() - 20, kFrame.minY() + kFrame.height() / 4}; }
    core::Point lower() const { return {kFrame.midX() - 20, kFrame.minY() + 3 * kFrame.height() / 4}; }
    // The brightness of the screen at `point`.
    int grey(core::Point point) {
        const gfx::Pixel pixel = host.screenshot()->bitmap().pixel(int(point.x), int(point.y));
        return (pixel.red + pixel.green + pixel.blue) / 3;
    }
    // The middle of an arrow: dark while it can step, light when it cannot.
    bool upArrowDark() { return grey({kFrame.maxX() - 17, kFrame.minY() + kFrame.height() / 4 + 2}) < 150; }
    bool downArrowDark() { return grey({kFrame.maxX() - 17, kFrame.minY() + 3 * kFrame.height() / 4 - 2}) < 150; }

    static constexpr core::Rect kFrame{40, 40, 94, 28};
    host::HeadlessHost host{ui::Device{ui::Idiom::Phone, 1}};
    std::shared_ptr<NZUpDownControl> control = NZUpDownControl::create(kFrame);
    int reports = 0;
};

struct TapCase {
    const char* name;
    bool upper;
    int value;
    bool tracks;
    int after;
};

class StepperTaps : public Stepper, public ::testing::WithParamInterface<TapCase> {};

TEST_P(StepperTaps, StepWithinTheLimitsOnly) {
    const TapCase& c = GetParam();
    control->setValue(c.value);
    control->setNeedsDisplay();
    EXPECT_EQ(upArrowDark(), c.value < 72);
    EXPECT_EQ(downArrowDark(), 8 < c.value);
    const core::Point at = c.upper ? upper() : lower();
    host.touchDown(at);
    EXPECT_EQ(control->isTracking(), c.tracks);
    host.touchUp(at);
    EXPECT_EQ(control->value(), c.after);
    EXPECT_EQ(reports, c.after != c.value ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    NZ, StepperTaps,
    ::testing::Values(TapCase{"UpWithin", true, 40, true, 41}, TapCase{"UpAtTheTop", true, 72, false, 72},
                      TapCase{"UpBeyondTheTop", true, 80, false, 80}, TapCase{"UpFromBelow", true, 5, true, 6},
                      TapCase{"DownWithin", false, 40, true, 39}, TapCase{"DownAtTheBottom", false, 8, false, 8},
                      TapCase{"DownBelowTheBottom", false, 5, false, 5},
                      TapCase{"DownFromBeyond", false, 80, true, 79}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Stepper, ADragOutAndBackStillSteps) {
    control->setValue(40);
    host.touchDown(upper());
    host.screenshot(); // drawn pressed
    EXPECT_TRUE(control->showsPressed());
    host.touchMove({upper().x, kFrame.minY() - 30});
    host.touchMove({upper().x + 200, kFrame.minY() - 30});
    EXPECT_FALSE(control->showsPressed()) << "drawn released while the finger is away";
    host.touchMove(upper());
    EXPECT_TRUE(control->showsPressed());
    host.touchUp(upper());
    EXPECT_EQ(control->value(), 41);

    host.touchDown(upper());
    host.touchMove({upper().x + 200, upper().y});
    host.touchUp({upper().x + 200, upper().y});
    EXPECT_EQ(control->value(), 41) << "lifted outside: nothing changes";
    EXPECT_EQ(reports, 1);
}

TEST_F(Stepper, AQuickTapShowsItsHalfPressedForATenthOfASecond) {
    control->setValue(40);
    host.advance(0.1);
    const int released = grey(upper());
    host.touchDown(upper());
    host.touchUp(upper());
    EXPECT_EQ(control->value(), 41);
    EXPECT_LT(grey(upper()), released - 4) << "the upper half drawn pressed";
    host.advance(0.05);
    EXPECT_LT(grey(upper()), released - 4);
    host.advance(0.1);
    EXPECT_EQ(grey(upper()), released);
}

TEST_F(Stepper, SettingTheValueDrawsNothingByItself) {
    control->setValue(40);
    host.advance(0.1);
    control->setValue(72);
    EXPECT_TRUE(upArrowDark()) << "drawn before the value reached the top";
    control->setNeedsDisplay();
    EXPECT_FALSE(upArrowDark());
}

} // namespace
} // namespace zm
