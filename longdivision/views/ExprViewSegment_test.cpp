#include "longdivision/views/ExprViewSegment.h"

#include "longdivision/testing/LongDivisionStage.h"
#include "platform/core/Log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::centerOf;

// 1234 ÷ 5 with its second row (23, product 20, difference 3) placed at column 2.
class SegmentRow : public ::testing::Test {
protected:
    SegmentRow() {
        stage.showHead(division);
        row = stage.showRow(division->getSegmentAtIndex(1), 2, kRowY);
    }

    float columnX(int32_t column) const { return stage.head->getCenterXForColumn(column); }

    // Brings down a digit beside the row's working digits.
    void bringDown(int32_t value) {
        auto digit = stage.digit(value);
        row->acceptDropDownDigit(digit);
        row->moveToCenterY(kRowY, 2, *stage.head);
        stage.playgroundView->showExprView(row->appendedRemainderView().get());
    }

    static constexpr float kRowY = 300;
    testing::LongDivisionStage stage;
    std::shared_ptr<ExprLongDivision> division = ExprLongDivision::longDivision(1234, 5);
    std::shared_ptr<ExprViewSegment> row;
};

TEST_F(SegmentRow, StandsOnTheGrid) {
    const float r = row->rowHeight(), g = stage.playgroundView->space();
    const auto& above = row->aboveView()->digitViews();
    EXPECT_NEAR(centerOf(*above[0]).x, columnX(1), 0.01);
    EXPECT_NEAR(centerOf(*above[1]).x, columnX(2), 0.01);
    EXPECT_NEAR(centerOf(*above[1]).y, kRowY, 0.01);
    const auto& product = row->productView()->digitViews();
    EXPECT_NEAR(centerOf(*product[0]).x, columnX(1), 0.01);
    EXPECT_NEAR(centerOf(*product[1]).y, kRowY + r, 0.01);
    EXPECT_NEAR(row->minusView()->frame().maxX(), row->productView()->getPointAtPosition(AnchorMiddleLeft).x, 0.01);
    const core::Point productTopRight = row->productView()->getPointAtPosition(AnchorTopRight);
    const core::Rect rule = row->lineView()->frame();
    EXPECT_NEAR(rule.maxX(), productTopRight.x, 0.01);
    EXPECT_NEAR(rule.minY(), productTopRight.y + r + 2 * g, 0.01);
    EXPECT_NEAR(rule.width(), row->minusView()->getWidth() + row->productView()->getWidth() + row->productView()->space(),
                0.01);
    EXPECT_NEAR(rule.height(), 0.05 * row->differenceView()->getHeight(), 0.01);
    const auto& difference = row->differenceView()->digitViews();
    ASSERT_EQ(difference.size(), 1u);
    EXPECT_NEAR(centerOf(*difference[0]).x, columnX(2), 0.01);
    EXPECT_NEAR(centerOf(*difference[0]).y, rule.minY() + r / 2, 0.01);
}

TEST_F(SegmentRow, BroughtDownDigitsTakeTheNextColumns) {
    bringDown(4);
    ASSERT_TRUE(row->appendedRemainderView());
    EXPECT_EQ(row->appendedRemainderView()->solo()->coef(), 34);
    const auto& digits = row->appendedRemainderView()->digitViews();
    EXPECT_NEAR(centerOf(*digits[0]).x, columnX(2), 0.01);
    EXPECT_NEAR(centerOf(*digits[1]).x, columnX(3), 0.01);
    EXPECT_FALSE(row->differenceView()->getViewList()[0]->superview());
    const ViewList shown = row->getViewList();
    EXPECT_NE(std::ranges::find(shown, digits[1]->getViewList()[0]), shown.end());
}

TEST_F(SegmentRow, AZeroDifferenceStaysBeforeTheDigit) {
    auto zeroRow = stage.showRow(ExprLongDivision::longDivision(1005, 5)->getFirstSegment(), 1, 500);
    zeroRow->acceptDropDownDigit(stage.digit(5));
    EXPECT_EQ(zeroRow->appendedRemainderView()->getViewList().size(), 2u) << "05";
}

struct DropCase {
    std::vector<int32_t> brought;     // digits brought down
    std::vector<bool> lit;            // which appended digits are lit
    std::optional<int32_t> nextAbove; // the next row's partial dividend, none when refused
};

class DivisorDrops : public SegmentRow, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DivisorDrops, NeedTheFirstSignificantDigitAndEnough) {
    const DropCase& c = GetParam();
    // 0 then a 5 is the row of 1005 ÷ 5; everything else the row 23 of 1234 ÷ 5.
    std::shared_ptr<ExprViewSegment> target = row;
    if (!c.brought.empty() && c.brought.front() == 5)
        target = stage.showRow(ExprLongDivision::longDivision(1005, 5)->getFirstSegment(), 1, 500);
    for (int32_t value : c.brought)
        target->acceptDropDownDigit(stage.digit(value));
    const auto& working = target->workingView().digitViews();
    for (size_t i = 0; i < c.lit.size(); ++i) {
        if (c.lit[i])
            working[i]->highlight();
    }
    const auto next = target->droppedDenominator(*stage.head->denominatorView());
    ASSERT_EQ(next != nullptr, c.nextAbove.has_value());
    if (next) {
        EXPECT_EQ(next->aboveExpr()->coef(), *c.nextAbove);
        EXPECT_EQ(next->denominator(), target->segment()->denominator());
        EXPECT_EQ(next->multiple()->coef(), 0) << "left for the chooser";
    }
}

INSTANTIATE_TEST_SUITE_P(ExprViewSegment, DivisorDrops,
                         ::testing::Values(DropCase{{4}, {true, true}, 34}, DropCase{{4}, {false, true}, {}},
                                           DropCase{{4}, {true, false}, {}}, DropCase{{}, {true}, {}},
                                           DropCase{{4}, {false, false}, {}}, DropCase{{5}, {false, true}, 5}));

TEST_F(SegmentRow, TheDropSlotIsOneWidthRightOfTheWorkingDigits) {
    const core::Rect working = row->differenceView()->getHitbox();
    auto dragged = stage.digit(4);
    dragged->moveTo({working.maxX() + working.width() / 2, working.midY()}, AnchorCenter);
    EXPECT_TRUE(row->validateDropDownDigit(*dragged));
    dragged->moveTo({working.midX(), working.midY() - 300}, AnchorCenter);
    EXPECT_FALSE(row->validateDropDownDigit(*dragged));
    // Covering only the working digit itself, narrower than it, does not reach the slot.
    auto narrow = stage.digit(1);
    narrow->setFontSize(10, false);
    narrow->moveTo({working.midX(), working.midY()}, AnchorCenter);
    EXPECT_FALSE(row->validateDropDownDigit(*narrow));
}

TEST_F(SegmentRow, OnlyATermViewIsBroughtDown) {
    row->acceptDropDownDigit(row->productView());
    row->acceptDropDownDigit(ExprViewSoloistDigits::create(ExprSoloist::soloWithCoef(4), *stage.playgroundView));
    EXPECT_FALSE(row->appendedRemainderView());
}

TEST_F(SegmentRow, ASweepLeavesTheCrossedDigitsLit) {
    bringDown(4);
    const auto& digits = row->appendedRemainderView()->digitViews();
    const core::Rect first = digits[0]->getHitbox(), second = digits[1]->getHitbox();
    row->checkHighlight(first);
    row->checkHighlight(second);
    EXPECT_TRUE(digits[0]->isHighlighted());
    EXPECT_TRUE(digits[1]->isHighlighted());
    row->checkHighlight(second.offsetBy(3 * second.width(), 0));
    EXPECT_TRUE(digits[0]->isHighlighted());
    EXPECT_FALSE(digits[1]->isHighlighted()) << "the last lit digit follows the divisor";
}

TEST_F(SegmentRow, RemainderPickUpAndPlacement) {
    const core::Rect difference = row->differenceView()->getHitbox();
    EXPECT_EQ(row->getRemainderViewFromPoint({difference.minX() - difference.width() * 0.45f, difference.midY()}),
              row->differenceView());
    EXPECT_FALSE(row->getRemainderViewFromPoint({difference.maxX() + difference.width() * 0.55f, difference.midY()}));
    core::LogCapture log;
    row->moveTo({0, 0}, AnchorCenter);
    row->moveTo({0, 0}, AnchorTopRight);
    ASSERT_EQ(log.entries().size(), 1u);
    EXPECT_EQ(log.entries()[0].message, "need to use AnchorTopRight for ExprViewSegment");
    EXPECT_NEAR(centerOf(*row->differenceView()).x, difference.midX(), 0.01) << "nothing placed";
    row->moveEverythingToY(50);
    EXPECT_NEAR(row->minusView()->center().y, 50, 0.01);
}

TEST_F(SegmentRow, WhatIsLeftIsTheAppendedNumberOnceDigitsAreBroughtDown) {
    // 101 ÷ 5: the row 10 leaves 0, and the 1 brought down shows 01; what is left is 1, not the hidden
    // 0 under it.
    auto zeroRow = stage.showRow(ExprLongDivision::longDivision(101, 5)->getFirstSegment(), 1, 500);
    zeroRow->acceptDropDownDigit(stage.digit(1));
    zeroRow->moveToCenterY(500, 1, *stage.head);
    const auto picked = zeroRow->getRemainderViewFromPoint(centerOf(*zeroRow->appendedRemainderView()));
    ASSERT_EQ(picked, zeroRow->appendedRemainderView());
    EXPECT_EQ(picked->solo()->coef(), 1);
}

} // namespace
} // namespace zm
