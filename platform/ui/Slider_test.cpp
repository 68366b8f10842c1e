#include "platform/ui/Slider.h"
#include "platform/ui/TouchScript.h"

#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

// A slider 228 wide at (0, 100): its thumb's centre runs from x 14 to x 214, 200 points for the range.
class SliderTouches : public ::testing::Test {
protected:
    void SetUp() override {
        window->addSubview(slider);
        slider->addTarget(ControlEvent::ValueChanged,
                          [this](Control&) { values.push_back(slider->value()); });
        slider->addTarget(ControlEvent::TouchUpInside, [this](Control&) { ++touchUps; });
    }

    float thumbX() const { return slider->thumbRect().midX(); }

    std::shared_ptr<Window> window = Window::create({0, 0, 480, 320});
    std::shared_ptr<Slider> slider = Slider::create({0, 100, 228, 0});
    testing::TouchScript fingers{*window};
    std::vector<float> values;
    int touchUps = 0;
};

TEST_F(SliderTouches, HasTheSliderHeight) {
    EXPECT_EQ(slider->frame().height(), Slider::kHeight);
}

TEST_F(SliderTouches, DraggingTheThumbReportsEveryChange) {
    const float y = slider->frame().midY();
    fingers.drag({14, y}, {214 + 50, y}, 4); // past the end: clamped at 1
    ASSERT_EQ(values.size(), 4u);
    EXPECT_NEAR(values[0], 0.3125f, 1e-5);
    EXPECT_NEAR(values[1], 0.625f, 1e-5);
    EXPECT_NEAR(values[2], 0.9375f, 1e-5);
    EXPECT_EQ(values[3], 1.0f);
    EXPECT_EQ(slider->value(), 1.0f);
    EXPECT_EQ(touchUps, 1);
    EXPECT_NEAR(thumbX(), 214, 1e-4);
}

TEST_F(SliderTouches, ANonContinuousSliderReportsOnceWhenReleased) {
    slider->setContinuous(false);
    const float y = slider->frame().midY();
    fingers.drag({14, y}, {114, y}, 5);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_NEAR(values[0], 0.5f, 1e-5);
}

// Beside the thumb the slider follows the finger without tracking it; disabling it then must still let
// go of the finger.
TEST_F(SliderTouches, DisabledWhileAFingerIsBesideTheThumbItReportsNoTouchUp) {
    const float y = slider->frame().midY();
    fingers.down({150, y});
    EXPECT_TRUE(slider->isHighlighted());
    slider->setEnabled(false);
    EXPECT_FALSE(slider->isHighlighted());
    fingers.up({150, y});
    EXPECT_EQ(touchUps, 0);
}

TEST_F(SliderTouches, TouchingTheTrackBesideTheThumbMovesNothing) {
    const float y = slider->frame().midY();
    fingers.drag({150, y}, {200, y}, 3);
    EXPECT_TRUE(values.empty());
    EXPECT_EQ(slider->value(), 0);
}

TEST_F(SliderTouches, ASliderThatTakesNoTouchesCannotBeDragged) {
    slider->setUserInteractionEnabled(false);
    const float y = slider->frame().midY();
    fingers.drag({14, y}, {214, y}, 3);
    EXPECT_TRUE(values.empty());
}

TEST(Slider, ValuesAreClampedToTheRange) {
    auto slider = Slider::create({0, 0, 228, 0});
    slider->setValue(1.7f);
    EXPECT_EQ(slider->value(), 1);
    slider->setValue(-3);
    EXPECT_EQ(slider->value(), 0);
    slider->setMaximumValue(10);
    slider->setValue(5);
    EXPECT_EQ(slider->value(), 5);
    slider->setMaximumValue(2);
    EXPECT_EQ(slider->value(), 2);
    slider->setMinimumValue(4); // raises the maximum with it
    EXPECT_EQ(slider->maximumValue(), 4);
    EXPECT_EQ(slider->value(), 4);
}

} // namespace
} // namespace ui
