#include "longdivision/PlaygroundBeginningDecimal.h"

#include "longdivision/testing/LDStage.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "playground/views/Fonts.h"
#include "playground/views/OpSlider.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using ::testing::ElementsAre;
using testing::centerOf;

constexpr uint32_t kNone = ExprLongDivision::kNone;

// A division whose numbers carry points: the digits, and how many of them stand before the point.
std::shared_ptr<ExprLongDivision> pointed(int64_t dividend, uint32_t dividendPoint, int64_t divisor,
                                          uint32_t divisorPoint) {
    auto division = ExprLongDivision::longDivision(dividend, divisor);
    division->setNumeratorDotPosition(dividendPoint);
    division->setDenominatorDotPosition(divisorPoint);
    return division;
}

std::vector<int32_t> digitsOf(const ExprViewSoloistDigits& number) {
    std::vector<int32_t> digits;
    for (const auto& digit : number.digitViews())
        digits.push_back(digit->solo()->coef());
    return digits;
}

class Shifter : public ::testing::Test {
protected:
    explicit Shifter(ui::Idiom idiom = ui::Idiom::Tablet)
        : stage(idiom) {}

    PlaygroundBeginningDecimal& shifter() const {
        return *std::dynamic_pointer_cast<PlaygroundBeginningDecimal>(stage.view->modalPlayground());
    }
    bool open() const { return bool(std::dynamic_pointer_cast<PlaygroundBeginningDecimal>(stage.view->modalPlayground())); }

    // The slider dragged to `value` and let go, through its actions.
    void slideTo(float value) {
        OpSlider& slider = *shifter().slider();
        slider.setValue(value);
        slider.sendActions(ui::ControlEvent::ValueChanged);
        slider.sendActions(ui::ControlEvent::TouchUpInside);
        stage.host.advance(1);
    }
    void hitGo() {
        shifter().goButton()->sendActions(ui::ControlEvent::TouchUpInside);
        stage.host.advance(1);
    }

    mutable testing::LDStage stage;
};

TEST_F(Shifter, TwoAndAHalfIntoSevenAndAHalf) {
    const auto division = stage.start(pointed(75, 1, 25, 1));
    ASSERT_TRUE(open()) << "a pointed divisor opens the shifter at once";
    EXPECT_FLOAT_EQ(shifter().slider()->value(), 0.5f);
    EXPECT_EQ(shifter().offset(), 0);
    EXPECT_EQ(shifter().numerPoints().size(), 3u);
    EXPECT_FALSE(stage.main().decimalMode());
    slideTo(1);
    EXPECT_EQ(stage.divisor().dotPosition(), 2u);
    EXPECT_EQ(stage.dividend().dotPosition(), 2u);
    EXPECT_FLOAT_EQ(shifter().slider()->value(), 1);
    hitGo();
    EXPECT_FALSE(open());
    EXPECT_EQ(stage.recorder->count("foundInitialDecimal"), 1u);
    EXPECT_EQ(stage.dividend().dotPosition(), ExprViewSoloistDigits::kNoDot) << "whole";
    EXPECT_EQ(stage.divisor().dotPosition(), ExprViewSoloistDigits::kNoDot);
    EXPECT_EQ(division->numeratorDotPosition(), kNone);
    EXPECT_EQ(division->denominatorDotPosition(), 1u) << "kept, so that the division shown again shifts again";
    EXPECT_FALSE(stage.main().dotPoleView()->superview());
    stage.workRow(1, 3);
    EXPECT_EQ(stage.recorder->count("showComplete"), 1u);
}

TEST_F(Shifter, OnlyTheRightEndIsTaken) {
    stage.start(pointed(75, 1, 25, 1));
    slideTo(0.99f);
    EXPECT_FLOAT_EQ(shifter().slider()->value(), 1) << "let go, it snaps to the nearest gap";
    shifter().slider()->setValue(0.99f);
    hitGo();
    EXPECT_TRUE(open());
    EXPECT_EQ(stage.recorder->count("didErrorStep"), 1u);
    // The points stay where the slider took them.
    EXPECT_EQ(stage.dividend().dotPosition(), 2u);
}

TEST_F(Shifter, AOneDigitDivisorWithItsPointInFront) {
    stage.start(pointed(3, 1, 5, 0));
    EXPECT_FLOAT_EQ(shifter().slider()->value(), 0);
    EXPECT_EQ(shifter().denomPoints().size(), 2u);
    slideTo(0.4f);
    EXPECT_FLOAT_EQ(shifter().slider()->value(), 0);
    slideTo(0.6f);
    EXPECT_FLOAT_EQ(shifter().slider()->value(), 1);
    EXPECT_EQ(stage.divisor().dotPosition(), 1u);
}

TEST_F(Shifter, ThePointPassesAGapAtItsMiddleOnALowArc) {
    stage.start(pointed(75, 1, 25, 1));
    const auto& gaps = shifter().numerPoints();
    OpSlider& slider = *shifter().slider();
    slider.setValue(0.75f);
    slider.sendActions(ui::ControlEvent::ValueChanged);
    const core::Point shown = shifter().numerDotView()->getPointAtPosition(AnchorBottomLeft);
    EXPECT_NEAR(shown.x, (gaps[1].x + gaps[2].x) / 2, 0.5);
    EXPECT_NEAR(shown.y, gaps[1].y + stage.head().rowHeight() / 4, 0.5) << "a quarter of a row below the line";
    EXPECT_EQ(stage.dividend().dotPosition(), 1u) << "the nearest gap: halfway counts for the one before";
    slider.setValue(0.8f);
    slider.sendActions(ui::ControlEvent::ValueChanged);
    EXPECT_EQ(stage.dividend().dotPosition(), 2u);
}

// 1.25 into 3.5: the dividend's point goes one gap past its last digit, which brings a 0; decimal places
// wait for the shifter to close.
TEST_F(Shifter, OneAndAQuarterIntoThreeAndAHalf) {
    const auto division = stage.start(pointed(35, 1, 125, 1));
    EXPECT_FALSE(stage.main().decimalMode()) << "35 < 125, yet decimal places wait for the shifter";
    EXPECT_THAT(digitsOf(stage.dividend()), ElementsAre(3, 5));
    slideTo(1);
    EXPECT_EQ(stage.dividend().dotPosition(), 3u) << "one gap past the 5";
    hitGo();
    EXPECT_THAT(digitsOf(stage.dividend()), ElementsAre(3, 5, 0));
    EXPECT_EQ(division->numerator()->coef(), 350);
    EXPECT_EQ(division->numeratorDotPosition(), kNone);
    stage.workRow(2, 2);
    EXPECT_TRUE(stage.main().decimalMode());
    stage.bringNext();
    stage.workRow(3, 8);
    EXPECT_EQ(stage.recorder->count("showComplete"), 1u);
    EXPECT_THAT(digitsOf(*stage.head().answerView()), ElementsAre(0, 0, 2, 8));
    EXPECT_EQ(stage.head().answerView()->dotPosition(), 3u) << "2.8";
}

// 7.5 ÷ 12.5: the dividend's point starts left of the divisor's; its gaps reach left of its first digit.
TEST_F(Shifter, ADividendPointLeftOfTheDivisorsStaysOnTheScreen) {
    stage.start(pointed(75, 1, 125, 2));
    EXPECT_EQ(shifter().offset(), -1);
    const auto& gaps = shifter().numerPoints();
    ASSERT_EQ(gaps.size(), 4u);
    EXPECT_NEAR(gaps[1].x - gaps[0].x, stage.head().colWidth(), 0.5) << "a column left of the first digit";
    slideTo(0);
    const core::Rect label = shifter().numerDotView()->frame();
    EXPECT_TRUE(stage.view->bounds().contains(label));
    EXPECT_EQ(stage.dividend().dotPosition(), 0u) << "no position below the first digit";
    slideTo(1);
    hitGo();
    stage.workRow(2, 6);
    EXPECT_EQ(stage.recorder->count("showComplete"), 1u);
    EXPECT_THAT(digitsOf(*stage.head().answerView()), ElementsAre(0, 0, 6));
    EXPECT_EQ(stage.head().answerView()->dotPosition(), 2u) << "0.6";
}

TEST_F(Shifter, ADividendWithoutAPointHasItAfterItsLastDigit) {
    const auto division = stage.start(pointed(75, kNone, 125, 2));
    EXPECT_EQ(shifter().offset(), 0);
    EXPECT_FLOAT_EQ(shifter().slider()->value(), 2.0f / 3);
    slideTo(1);
    hitGo();
    EXPECT_EQ(division->numerator()->coef(), 750);
    stage.workRow(2, 6);
    EXPECT_EQ(stage.recorder->count("showComplete"), 1u);
}

// 3.77 ÷ 0.5 is 37.7 ÷ 5: decimal places keep the dividend's point, and the quotient is 7.54.
TEST_F(Shifter, DecimalPlacesKeepThePointTheDividendHas) {
    stage.start(pointed(377, 1, 5, 0));
    slideTo(1);
    hitGo();
    EXPECT_EQ(stage.dividend().dotPosition(), 2u);
    stage.workRow(1, 7);
    stage.bringNext();
    stage.workRow(1, 5);
    EXPECT_TRUE(stage.main().decimalMode());
    EXPECT_EQ(stage.dividend().dotPosition(), 2u) << "37.70, not 377.0";
    stage.bringNext();
    stage.workRow(1, 4);
    EXPECT_EQ(stage.recorder->count("showComplete"), 1u);
    EXPECT_EQ(stage.quotient(), 754);
    EXPECT_EQ(stage.head().answerView()->dotPosition(), 2u) << "7.54";
}

class ShifterOnAPhone : public Shifter {
protected:
    ShifterOnAPhone()
        : Shifter(ui::Idiom::Phone) {}
};

TEST_F(ShifterOnAPhone, ButtonAndSlider) {
    stage.start(pointed(75, 1, 25, 1));
    EXPECT_EQ(shifter().goButton()->frame().size, core::Size(100, 50));
    EXPECT_EQ(shifter().goButton()->titleLabel().font(), fontNamed(kGeorgia, 50));
    EXPECT_TRUE(stage.view->bounds().contains(shifter().goButton()->frame()));
    EXPECT_TRUE(stage.view->bounds().contains(shifter().slider()->frame()));
}

struct PictureCase {
    ui::Idiom idiom;
    const char* name;
};

class ShifterPictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(ShifterPictures, ThePointsMidSlide) {
    const PictureCase& c = GetParam();
    testing::LDStage stage(c.idiom);
    stage.start(pointed(35, 1, 125, 1));
    auto& shifter = *std::dynamic_pointer_cast<PlaygroundBeginningDecimal>(stage.view->modalPlayground());
    shifter.slider()->setValue(0.5f);
    shifter.slider()->sendActions(ui::ControlEvent::ValueChanged);
    stage.host.advance(0.2);
    const auto picture = stage.render(c.name);
    for (const auto* label : {shifter.numerDotView().get(), shifter.denomDotView().get()}) {
        const core::Rect box = label->frame();
        EXPECT_TRUE(stage.view->bounds().contains(box));
        EXPECT_GT(testing::inkIn(*picture, box), 0);
    }
    EXPECT_GT(testing::inkIn(*picture, shifter.goButton()->frame()), 20);
    EXPECT_GT(testing::inkIn(*picture, shifter.slider()->frame()), 20);
}

INSTANTIATE_TEST_SUITE_P(PlaygroundBeginningDecimal, ShifterPictures,
                         ::testing::Values(PictureCase{ui::Idiom::Phone, "ld-shifter-phone"},
                                           PictureCase{ui::Idiom::Tablet, "ld-shifter-tablet"}),
                         [](const auto& info) { return std::string(info.param.name + 11); });

} // namespace
} // namespace zm
