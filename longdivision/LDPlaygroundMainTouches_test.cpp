#include "longdivision/LDPlaygroundMain.h"

#include "longdivision/testing/LDStage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using ::testing::ElementsAre;
using testing::centerOf;

std::vector<int32_t> digitsOf(const ExprViewSoloistDigits& number) {
    std::vector<int32_t> digits;
    for (const auto& digit : number.digitViews())
        digits.push_back(digit->solo()->coef());
    return digits;
}

TEST(LDTouches, WorkingTheRowsOf1234By5) {
    testing::LDStage stage;
    stage.start("5)1234");
    LDPlaygroundMain& main = stage.main();
    const core::Point divisorHome = centerOf(stage.divisor());

    // 1 alone does not reach 5: the divisor glides back.
    stage.dragDivisorOver(stage.dividend(), 0);
    EXPECT_TRUE(main.segmentViews().empty());
    EXPECT_FALSE(stage.chooser());
    EXPECT_EQ(stage.recorder->count("draggedOver"), 0u);
    EXPECT_NEAR(centerOf(stage.divisor()).x, divisorHome.x, 0.5);
    EXPECT_FALSE(stage.dividend().digitViews()[0]->isHighlighted());

    // 1 and 2 make the first row; the chooser asks for its digit.
    stage.dragDivisorOver(stage.dividend(), 1);
    ASSERT_EQ(main.segmentViews().size(), 1u);
    EXPECT_EQ(main.segments()[0]->aboveExpr()->coef(), 12);
    EXPECT_EQ(stage.recorder->count("draggedOver"), 1u);
    ASSERT_TRUE(stage.chooser());
    EXPECT_EQ(main.nextIndex(), 2u);
    const ExprViewSoloistDigits& quotient = *stage.head().answerView();
    ASSERT_EQ(quotient.digitViews().size(), 2u);
    EXPECT_NEAR(centerOf(*quotient.digitViews()[1]).x, main.getCenterXForColumn(1), 0.5);
    stage.choose(2);
    EXPECT_FALSE(stage.chooser());
    EXPECT_EQ(stage.quotient(), 2);
    EXPECT_EQ(quotient.getViewList().size(), 1u) << "the leading 0 is not shown";

    // The 4 is not the next digit; the 3 is.
    stage.bringDown(3);
    EXPECT_FALSE(main.segmentViews()[0]->appendedRemainderView());
    EXPECT_EQ(main.nextIndex(), 2u);
    stage.bringDown(2);
    ASSERT_TRUE(main.segmentViews()[0]->appendedRemainderView());
    EXPECT_EQ(main.segmentViews()[0]->appendedRemainderView()->solo()->coef(), 23);
    EXPECT_EQ(main.nextIndex(), 3u);
    EXPECT_EQ(stage.recorder->count("droppedDigit"), 1u);
    EXPECT_THAT(digitsOf(stage.dividend()), ElementsAre(1, 2, 3, 4)) << "the dividend keeps its digits";

    // 23 already reaches 5: no digit joins it.
    stage.bringDown(3);
    EXPECT_EQ(main.segmentViews()[0]->appendedRemainderView()->solo()->coef(), 23);
    EXPECT_EQ(main.nextIndex(), 3u);

    // The divisor over 23 starts the next row.
    stage.dragDivisorOver(*main.segmentViews()[0]->appendedRemainderView(), 1);
    ASSERT_EQ(main.segmentViews().size(), 2u);
    EXPECT_EQ(main.segments()[1]->aboveExpr()->coef(), 23);
    stage.choose(4);
    EXPECT_EQ(stage.quotient(), 24);
}

TEST(LDTouches, TheFirstRowIsTheShortestLeadingPart) {
    testing::LDStage stage;
    stage.start("5)1234");
    stage.dragDivisorOver(stage.dividend(), 2);
    EXPECT_TRUE(stage.main().segmentViews().empty()) << "12 already reaches 5";
    EXPECT_FALSE(stage.chooser());
}

TEST(LDTouches, AZeroBroughtDownWithoutARowOfItsOwn) {
    testing::LDStage stage;
    stage.start("5)1005");
    LDPlaygroundMain& main = stage.main();
    stage.dragDivisorOver(stage.dividend(), 1);
    stage.choose(2);
    stage.bringDown(2);
    const ExprViewSoloistDigits& quotient = *stage.head().answerView();
    ASSERT_EQ(quotient.digitViews().size(), 3u);
    EXPECT_TRUE(quotient.digitViews()[2]->nonSegmentZero()) << "0 is less than 5";
    stage.bringDown(3);
    EXPECT_EQ(quotient.digitViews().size(), 3u) << "5 reaches 5: no zero";
    stage.dragDivisorOver(*main.segmentViews()[0]->appendedRemainderView(), 2);
    ASSERT_EQ(main.segmentViews().size(), 2u);
    EXPECT_EQ(main.segments()[1]->aboveExpr()->coef(), 5);
    stage.choose(1);
    EXPECT_EQ(stage.quotient(), 201);
    const auto& secondRow = main.segmentViews()[1]->aboveView()->digitViews();
    EXPECT_NEAR(centerOf(*secondRow.back()).x, main.getCenterXForColumn(3), 0.5) << "under the dividend's 5";
}

TEST(LDTouches, APressEnlargesWhatItHolds) {
    testing::LDStage stage;
    stage.start("5)1234");
    float base = stage.view->baseFontSize();
    const auto& one = *stage.dividend().digitViews()[0];
    stage.host.touchDown(centerOf(stage.divisor()));
    EXPECT_FLOAT_EQ(stage.divisor().digitViews()[0]->baseFontSize(), float(1.2 * double(base)));
    stage.host.touchUp(centerOf(stage.divisor()));
    EXPECT_FLOAT_EQ(stage.divisor().digitViews()[0]->baseFontSize(), base) << "lifted without a drag";

    stage.host.touchDown(centerOf(one));
    EXPECT_FLOAT_EQ(one.baseFontSize(), float(1.2 * double(base)));
    stage.host.touchUp(centerOf(one));
    EXPECT_FLOAT_EQ(one.baseFontSize(), base);

    // Once digits are used, a press on one of them, or on a row, enlarges nothing.
    stage.dragDivisorOver(stage.dividend(), 1);
    stage.choose(2);
    base = stage.view->baseFontSize();
    stage.host.touchDown(centerOf(one));
    EXPECT_FLOAT_EQ(one.baseFontSize(), base);
    stage.host.touchUp(centerOf(one));
    const ExprViewSegment& row = *stage.main().segmentViews()[0];
    stage.host.touchDown(centerOf(*row.productView()));
    EXPECT_FLOAT_EQ(row.productView()->digitViews()[0]->baseFontSize(), base);
    stage.host.touchUp(centerOf(*row.productView()));
}

TEST(LDTouches, TheDragDecidesItsDirectionEvery15Points) {
    testing::LDStage stage;
    stage.start("5)1234");
    LDPlaygroundMain& main = stage.main();
    main.touchMoved({100, 700});
    EXPECT_EQ(main.lastPoint(), core::Point(100, 700));
    main.touchMoved({114, 690});
    EXPECT_EQ(main.lastPoint(), core::Point(100, 700));
    main.touchMoved({115, 690});
    EXPECT_EQ(main.lastPoint(), core::Point(115, 690));
    EXPECT_EQ(main.currentDir().x, 1);
    main.touchMoved({100, 690});
    EXPECT_EQ(main.currentDir().x, -1);
    main.touchEnded({100, 690});
}

TEST(LDTouches, ADigitIsPickedUpHalfADigitBesideIt) {
    testing::LDStage stage;
    stage.start("5)1234");
    const auto& one = stage.dividend().digitViews()[0];
    const core::Rect box = one->getHitbox();
    const core::Point beside{box.minX() - 0.45f * box.width(), box.midY()};
    stage.host.touchDown(beside);
    stage.host.touchMove({beside.x, beside.y + 1});
    EXPECT_EQ(stage.main().agentExprView(), one);
    stage.host.touchUp({beside.x, beside.y + 1});
}

struct RemainderCase {
    const char* text;
    size_t firstRowEnd; // the last dividend digit the first row takes
    uint32_t digit;
    int32_t quotient;
    int32_t remainder;
};

class WhatIsLeft : public ::testing::TestWithParam<RemainderCase> {};

// After a row that leaves 0, the digit brought down shows "01": the remainder is the 1, not the 0
// hidden under it.
TEST_P(WhatIsLeft, IsTheRemainder) {
    const RemainderCase& c = GetParam();
    testing::LDStage stage;
    const auto division = ExprLongDivision::fromString(c.text);
    division->setAcceptsRemainders(true);
    stage.start(division);
    stage.dragDivisorOver(stage.dividend(), c.firstRowEnd);
    stage.choose(c.digit);
    stage.bringDown(c.firstRowEnd + 1);
    EXPECT_EQ(stage.quotient(), c.quotient);
    LDPlaygroundMain& main = stage.main();
    main.setRemainderMode(true);
    stage.head().setRemainderModeActive(true);
    main.moveToPivot();
    const ExprViewSoloistDigits& working = main.segmentViews().back()->workingView();
    const core::Rect label = stage.head().remainderLabel()->getHitbox();
    stage.drag(centerOf(working), testing::LDStage::fingerFor({label.maxX() + label.width() / 2, label.midY()},
                                                              1.2f * working.getHeight()));
    EXPECT_EQ(division->remainder()->coef(), c.remainder);
    EXPECT_EQ(stage.recorder->count("droppedRemainder"), 1u);
    ASSERT_TRUE(stage.head().remainderView());
    EXPECT_EQ(stage.head().remainderView()->solo()->coef(), c.remainder);
}

INSTANTIATE_TEST_SUITE_P(LDTouches, WhatIsLeft,
                         ::testing::Values(RemainderCase{"5)101", 1, 2, 20, 1}, RemainderCase{"5)52", 0, 1, 10, 2}));

TEST(LDTouches, ARefusedDropGlidesBack) {
    for (const ui::Idiom idiom : {ui::Idiom::Phone, ui::Idiom::Tablet}) {
        testing::LDStage stage(idiom);
        stage.start("5)1234");
        const core::Point home = centerOf(stage.divisor());
        stage.dragDivisorOver(stage.dividend(), 0, false);
        const core::Point dropped = centerOf(stage.divisor());
        stage.host.touchUp(dropped);
        stage.host.advance(0.2);
        const core::Rect shown = stage.divisor().digitViews()[0]->getViewList().front()->presentationFrame();
        const auto picture =
            stage.render(idiom == ui::Idiom::Phone ? "ld-refused-drop-phone" : "ld-refused-drop-tablet");
        EXPECT_GT(shown.midX(), home.x + 1) << "on its way back";
        EXPECT_LT(shown.midX(), dropped.x - 1);
        EXPECT_GT(testing::inkIn(*picture, shown), int(shown.width() * shown.height() / 20));
        stage.host.advance(1);
        EXPECT_NEAR(centerOf(stage.divisor()).x, home.x, 0.5);
    }
}

} // namespace
} // namespace zm
