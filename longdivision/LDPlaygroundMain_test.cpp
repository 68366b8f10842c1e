#include "longdivision/LDPlaygroundMain.h"

#include "longdivision/PlaygroundBeginningDecimal.h"
#include "longdivision/testing/LDStage.h"
#include "longdivision/testing/LongDivisionStage.h"
#include "platform/gfx/Text.h"
#include "playground/views/Fonts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::centerOf;

struct MarginCase {
    ui::Idiom idiom;
    bool shifterOpen;
    bool demoMode;
    float top;
};

class Margins : public ::testing::TestWithParam<MarginCase> {};

TEST_P(Margins, TopOfTheDivision) {
    const MarginCase& c = GetParam();
    testing::LDStage stage(c.idiom);
    stage.start("5)1234", c.demoMode);
    if (c.shifterOpen)
        stage.view->setModalPlayground(
            PlaygroundBeginningDecimal::create(*stage.view, stage.view->playgroundMain()));
    stage.main().moveToPivot();
    EXPECT_NEAR(centerOf(*stage.head().denominatorView()).y, c.top + stage.head().getHeight() / 2, 0.01);
    EXPECT_NEAR(stage.head().getPointAtPosition(AnchorCenter).x, stage.view->frame().width() / 2,
                stage.head().getWidth() / 2 + 1);
}

INSTANTIATE_TEST_SUITE_P(LDPlaygroundMain, Margins,
                         ::testing::Values(MarginCase{ui::Idiom::Tablet, false, false, 50},
                                           MarginCase{ui::Idiom::Tablet, true, false, 50},
                                           MarginCase{ui::Idiom::Tablet, true, true, 30},
                                           MarginCase{ui::Idiom::Tablet, false, true, 50},
                                           MarginCase{ui::Idiom::Phone, false, false, 30},
                                           MarginCase{ui::Idiom::Phone, true, false, 30},
                                           MarginCase{ui::Idiom::Phone, true, true, 10}));

// The size the sizing rule gives from `base`, with `rows` times the text's height to fit and `width`.
float expectedSize(const std::string& text, float base, float width, float height, float rows) {
    const core::Size small = gfx::measureText(text, fontNamed(kGeorgia, base));
    const core::Size large = gfx::measureText(text, fontNamed(kGeorgia, base + 10));
    return base + std::min(10 * (width - small.width) / (large.width - small.width),
                           10 * (height - rows * small.height) / (rows * large.height - rows * small.height));
}

TEST(LDPlaygroundMain, FontSizing) {
    testing::LDStage tablet(ui::Idiom::Tablet);
    tablet.start("5)1234");
    LDPlaygroundMain& main = tablet.main();
    for (size_t k = 0; k < 3; ++k)
        main.insertHorizontalSegment(main.longDivisionExpr()->getSegmentAtIndex(uint32_t(k)), nullptr, false, true);
    const float base = tablet.view->baseFontSize();
    main.calculateFontSize(true, false);
    EXPECT_NEAR(tablet.view->baseFontSize(), expectedSize("5.|.1234", base, 1024 * 0.9f, 768, 8), 0.01)
        << "three rows count the text 8 times";
    const float again = tablet.view->baseFontSize();
    main.calculateFontSize(false, true);
    EXPECT_NEAR(tablet.view->baseFontSize(), expectedSize("5.|.1234", again, 1024 * 0.9f - 165, 768, 2), 0.01);
}

TEST(LDPlaygroundMain, FontSizingOnAPhone) {
    testing::LDStage phone(ui::Idiom::Phone);
    phone.start("1)1");
    EXPECT_EQ(phone.view->baseFontSize(), 80) << "capped on a phone";
    phone.view->setBaseFontSize(20);
    phone.main().calculateFontSize(false, true);
    EXPECT_NEAR(phone.view->baseFontSize(), std::min(80.0f, expectedSize("1.|.1", 20, 480 * 0.9f - 65, 320, 2)), 0.01);
}

TEST(LDPlaygroundMain, ColumnsAndContentSize) {
    testing::LDStage stage;
    stage.start("5)1234");
    LDPlaygroundMain& main = stage.main();
    const auto& digits = stage.head().numeratorView()->digitViews();
    EXPECT_NEAR(main.getCenterXForColumn(-2), centerOf(*digits[0]).x - 2 * stage.head().colWidth(), 0.01);
    EXPECT_NEAR(main.getCenterXForColumn(1), centerOf(*digits[1]).x, 0.01);
    EXPECT_EQ(main.getCenterXForColumn(4), 0);
    main.insertHorizontalSegment(main.longDivisionExpr()->getSegmentAtIndex(0), nullptr, false, true);
    main.insertHorizontalSegment(main.longDivisionExpr()->getSegmentAtIndex(1), nullptr, false, true);
    const core::Size size = main.getContentSize();
    EXPECT_FLOAT_EQ(size.width, stage.head().getWidth());
    EXPECT_FLOAT_EQ(size.height, stage.head().getHeight() + main.segmentViews()[0]->getHeight() +
                                     main.segmentViews()[1]->getHeight());
}

TEST(LDPlaygroundMain, QuotientDigitsStandOverTheirColumns) {
    testing::LDStage stage;
    stage.start("5)1234");
    LDPlaygroundMain& main = stage.main();
    main.insertHorizontalSegment(main.longDivisionExpr()->getFirstSegment(), nullptr, false, true);
    const ExprViewSoloistDigits& quotient = *stage.head().answerView();
    ASSERT_EQ(quotient.digitViews().size(), 2u);
    EXPECT_EQ(quotient.solo()->coef(), 2);
    EXPECT_EQ(quotient.getViewList().size(), 1u) << "the leading 0 is not shown";
    EXPECT_NEAR(centerOf(*quotient.digitViews()[1]).x, main.getCenterXForColumn(1), 0.01);
    EXPECT_FALSE(main.segmentViews()[0]->aboveView()->getViewList()[0]->superview())
        << "the first partial dividend is the dividend's own digits";
}

TEST(LDPlaygroundMain, RowsStepOverZerosBroughtDownWithoutARow) {
    testing::LDStage zeros;
    zeros.start("5)1005");
    LDPlaygroundMain& worked = zeros.main();
    worked.insertHorizontalSegment(worked.longDivisionExpr()->getSegmentAtIndex(0), nullptr, false, true);
    worked.insertHorizontalSegment(worked.longDivisionExpr()->getSegmentAtIndex(1), nullptr, false, true);
    const auto& digits = zeros.head().answerView()->digitViews();
    ASSERT_EQ(digits.size(), 4u);
    EXPECT_TRUE(digits[2]->nonSegmentZero());
    EXPECT_FALSE(digits[1]->nonSegmentZero());
    EXPECT_EQ(zeros.head().answerView()->solo()->coef(), 201);
    const auto& secondRow = worked.segmentViews()[1]->aboveView()->digitViews();
    EXPECT_NEAR(centerOf(*secondRow.back()).x, worked.getCenterXForColumn(3), 0.01) << "under the dividend's 5";
}

} // namespace
} // namespace zm
