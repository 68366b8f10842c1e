#include "longdivision/views/ExprViewLongDivision.h"

#include "longdivision/testing/LongDivisionStage.h"
#include "platform/gfx/Text.h"
#include "platform/ui/BundleImages.h"
#include "platform/ui/ImageView.h"
#include "playground/views/Fonts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::centerOf;

class LongDivisionHead : public ::testing::Test {
protected:
    std::shared_ptr<ExprViewLongDivision> show(int64_t dividend, int64_t divisor) {
        return stage.showHead(ExprLongDivision::longDivision(dividend, divisor));
    }

    testing::LongDivisionStage stage;
};

struct FirstDropCase {
    int64_t dividend, divisor;
    std::vector<size_t> lit;
    std::optional<int32_t> row;
};

class FirstDrops : public LongDivisionHead, public ::testing::WithParamInterface<FirstDropCase> {};

TEST_P(FirstDrops, CoverTheShortestLeadingPart) {
    const FirstDropCase& c = GetParam();
    const auto head = show(c.dividend, c.divisor);
    for (size_t index : c.lit)
        head->numeratorView()->digitViews()[index]->highlight();
    const auto row = head->acceptDenominator(*head->denominatorView());
    ASSERT_EQ(row != nullptr, c.row.has_value());
    if (row) {
        EXPECT_EQ(row->aboveExpr()->coef(), *c.row);
        EXPECT_EQ(row->denominator(), head->longDivison()->denominator());
    }
    // Whatever is lit, only the division's own divisor starts a row.
    const auto other = ExprViewSoloistDigits::create(ExprSoloist::soloWithCoef(int32_t(c.divisor)), *stage.playgroundView);
    EXPECT_FALSE(head->acceptDenominator(*other));
}

INSTANTIATE_TEST_SUITE_P(ExprViewLongDivision, FirstDrops,
                         ::testing::Values(FirstDropCase{1234, 5, {0, 1}, 12}, FirstDropCase{1234, 5, {0}, {}},
                                           FirstDropCase{1234, 5, {0, 1, 2}, {}}, FirstDropCase{1234, 5, {1, 2}, {}},
                                           FirstDropCase{1234, 5, {}, {}}, FirstDropCase{56, 7, {0, 1}, 56},
                                           FirstDropCase{56, 7, {0}, {}}, FirstDropCase{7, 7, {0}, 7}));

TEST_F(LongDivisionHead, ASweepAcrossTheDividend) {
    const auto head = show(1234, 5);
    const auto& digits = head->numeratorView()->digitViews();
    // A small divisor passing over the middles of the first three digits, then away.
    for (size_t k = 0; k < 3; ++k)
        head->checkHighlight(core::Rect(centerOf(*digits[k]), {1, 1}));
    head->checkHighlight({0, 700, 1, 1});
    EXPECT_TRUE(digits[0]->isHighlighted());
    EXPECT_TRUE(digits[1]->isHighlighted());
    EXPECT_FALSE(digits[2]->isHighlighted());
    EXPECT_FALSE(digits[3]->isHighlighted());
}

TEST_F(LongDivisionHead, BarAndBracketFollowTheFontSize) {
    const auto head = show(1234, 5);
    for (float size : {57.0f, 30.0f}) {
        head->setFontSize(size, false);
        const core::Size paren = gfx::measureText(")", fontNamed("Verdana", size));
        const core::Rect bracket = head->dividerImage()->frame();
        EXPECT_NEAR(bracket.width(), paren.width * 0.75f, 0.01) << size;
        EXPECT_NEAR(bracket.height(), paren.height * 0.75f, 0.01) << size;
        EXPECT_NEAR(head->opViewDivide()->frame().width(), head->getWidth() - head->denominatorView()->getWidth(), 0.01);
        EXPECT_NEAR(head->opViewDivide()->frame().height(), 0.1078 * bracket.height(), 0.01);
    }
    const core::Rect bar = head->opViewDivide()->frame();
    head->setFontSize(30, false);
    EXPECT_EQ(head->opViewDivide()->frame(), bar) << "the same size again changes nothing";
}

TEST_F(LongDivisionHead, WidthsWithTheRemainder) {
    const auto head = show(7, 2);
    const float s = head->space();
    const float plain = head->numeratorView()->getWidth() + head->denominatorView()->getWidth() + 3 * s;
    EXPECT_NEAR(head->getWidth(), plain, 0.01);
    head->setRemainderModeActive(true);
    const float r = head->remainderLabel()->getWidth();
    EXPECT_NEAR(head->getWidth(), plain + 2 * s + 2 * r, 0.01);
    EXPECT_TRUE(head->remainderLabel()->superview());
    auto dropped = ExprViewSoloistDigits::create(ExprSoloist::soloWithCoef(1), *stage.playgroundView);
    head->acceptRemainder(*dropped);
    ASSERT_TRUE(head->remainderView());
    EXPECT_EQ(head->longDivison()->remainder()->coef(), 1);
    EXPECT_NEAR(head->getWidth(), plain + 2 * s + r + head->remainderView()->getWidth(), 0.01);
    head->setRemainderModeActive(false);
    EXPECT_FALSE(head->remainderLabel()->superview());
}

TEST_F(LongDivisionHead, RemainderSlotIsRightOfTheR) {
    const auto head = show(7, 2);
    head->setRemainderModeActive(true);
    head->remainderLabel()->moveTo({500, 100}, AnchorTopLeft);
    const core::Rect label = head->remainderLabel()->getHitbox();
    auto dragged = stage.digit(1);
    dragged->moveTo({label.maxX() + label.width() / 2, label.midY()}, AnchorCenter);
    EXPECT_TRUE(head->validateRemainder(*dragged));
    dragged->moveTo({label.minX() - 3 * label.width(), label.midY()}, AnchorCenter);
    EXPECT_FALSE(head->validateRemainder(*dragged));
}

TEST_F(LongDivisionHead, HitTests) {
    const auto head = show(1234, 5);
    const auto& digits = head->numeratorView()->digitViews();
    const core::Point onOne = centerOf(*digits[0]);
    EXPECT_EQ(head->getExprViewFromPoint(centerOf(*head->denominatorView())), head->denominatorView());
    EXPECT_EQ(head->getExprViewFromPoint(onOne, 0), digits[0]);
    EXPECT_FALSE(head->getExprViewFromPoint(onOne, 2)) << "only from the index on";
    EXPECT_EQ(head->getNumeratorDigitFromPoint(onOne, 2), digits[0]) << "any index when the next is not near";
    EXPECT_FALSE(head->getNumeratorDigitFromPoint(onOne, 4)) << "past the dividend";
    const core::Rect box = digits[0]->getHitbox();
    EXPECT_EQ(head->getNumeratorDigitFromPoint({box.minX() - box.width() * 0.4f, box.midY()}, 0), digits[0])
        << "half a digit beside it";
    EXPECT_EQ(head->getCenterXForColumn(-2), centerOf(*digits[0]).x - 2 * head->colWidth());
    EXPECT_EQ(head->getCenterXForColumn(4), 0);
}

TEST_F(LongDivisionHead, PatternDigitWalks) {
    // 10 ÷ 3 worked to 3.333: the pattern is "3"; a quotient with a digit that is not.
    const auto head = stage.showHead(ExprLongDivision::longDivision(10000, 3, "3"));
    auto quotient = ExprViewSoloistDigits::create(ExprSoloist::soloWithCoef(3323), *stage.playgroundView);
    quotient->setDotPosition(1);
    quotient->moveTo({100, 500}, AnchorMiddleLeft);
    head->setAnswerView(quotient);
    const auto& digits = quotient->digitViews();
    EXPECT_FALSE(head->getPatternDigitFromPoint(centerOf(*digits[0]), {})) << "before the point";
    EXPECT_EQ(head->getPatternDigitFromPoint(centerOf(*digits[1]), {}), digits[1]);
    EXPECT_FALSE(head->getPatternDigitFromPoint(centerOf(*digits[2]), {})) << "2 is not in the pattern, off screen";
    stage.playgroundView->showExprView(quotient.get());
    EXPECT_EQ(head->getPatternDigitFromPoint(centerOf(*digits[2]), {}), digits[2]) << "the third walk, on screen";
    EXPECT_EQ(head->getPatternDigitFromPoint(centerOf(*digits[1]), {digits[1]}), digits[1]) << "tapped again";
    quotient->setDotPosition(ExprViewSoloistDigits::kNoDot);
    EXPECT_FALSE(head->getPatternDigitFromPoint(centerOf(*digits[1]), {}));
}

TEST_F(LongDivisionHead, APatternDigitTappedInItsMiddleIsThatDigit) {
    // Wide digits reach half their size into their neighbours: the one under the finger wins.
    const auto head = stage.showHead(ExprLongDivision::longDivision(100, 11, "09"));
    auto quotient = ExprViewSoloistDigits::create(ExprSoloist::soloWithCoef(90909), *stage.playgroundView);
    quotient->setDotPosition(1);
    quotient->moveTo({100, 500}, AnchorMiddleLeft);
    head->setAnswerView(quotient);
    const auto& digits = quotient->digitViews();
    for (size_t k = 1; k < digits.size(); ++k)
        EXPECT_EQ(head->getPatternDigitFromPoint(centerOf(*digits[k]), {}), digits[k]) << k;
}

TEST_F(LongDivisionHead, TheBracketForBlackIsTheBlackColourItself) {
    stage.playgroundView->setExpressionColor(core::Color::black());
    EXPECT_EQ(show(12, 5)->dividerImage()->image(), ui::imageNamed("divider-left-black.png"));
    stage.playgroundView->setExpressionColor(core::Color::rgba(0, 0, 0));
    EXPECT_EQ(show(12, 5)->dividerImage()->image(), ui::imageNamed("divider-left.png"));
}

// Pixels darker than mid-grey inside `rect`: ink on a white page.
int darkIn(const gfx::Image& image, const core::Rect& rect) {
    int count = 0;
    const core::Rect area = rect.integral();
    for (int y = int(area.minY()); y < int(area.maxY()); ++y) {
        for (int x = int(area.minX()); x < int(area.maxX()); ++x) {
            const gfx::Pixel pixel = image.bitmap().pixel(x, y);
            count += pixel.red + pixel.green + pixel.blue < 3 * 96;
        }
    }
    return count;
}

struct PictureCase {
    ui::Idiom idiom;
    float fontSize;
    bool blackOnWhite;
    const char* name;
};

class HeadPictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(HeadPictures, HeadAndRowAreLegible) {
    const PictureCase& c = GetParam();
    testing::LongDivisionStage stage(c.idiom, c.fontSize);
    auto page = ui::View::create(stage.playgroundView->bounds());
    page->setBackgroundColor(c.blackOnWhite ? core::Color::white() : core::Color::black().withAlpha(0.75f));
    stage.playgroundView->addSubview(page);
    if (c.blackOnWhite)
        stage.playgroundView->setExpressionColor(core::Color::black());
    const auto division = ExprLongDivision::longDivision(1234, 5);
    const auto head = stage.showHead(division);
    const auto row = stage.showRow(division->getSegmentAtIndex(1), 2,
                                   centerOf(*head->numeratorView()).y + 2 * head->rowHeight());
    row->acceptDropDownDigit(stage.digit(4));
    row->moveToCenterY(centerOf(*row->aboveView()).y, 2, *head);
    stage.playgroundView->showExprView(row->appendedRemainderView().get());
    // The row's digit stands in the quotient, over the dividend's 3.
    row->multipleView()->moveTo({head->getCenterXForColumn(2), centerOf(*head->numeratorView()).y - head->rowHeight()},
                                AnchorCenter);
    if (c.blackOnWhite) {
        head->setColor(core::Color::black());
        row->setColor(core::Color::black());
    }
    const auto picture = stage.render(c.name);
    std::vector<std::shared_ptr<ExprViewSoloist>> digits = head->numeratorView()->digitViews();
    for (const auto* number : {head->denominatorView().get(), row->aboveView().get(), row->productView().get(),
                               row->appendedRemainderView().get()})
        digits.insert(digits.end(), number->digitViews().begin(), number->digitViews().end());
    for (const auto& digit : digits) {
        const core::Rect box = digit->getHitbox();
        const int ink = c.blackOnWhite ? darkIn(*picture, box) : testing::inkIn(*picture, box);
        EXPECT_GT(ink, int(box.width() * box.height() / 20)) << digit->solo()->coef();
    }
    for (const core::Rect& line : {head->opViewDivide()->frame(), row->lineView()->frame(), head->dividerImage()->frame()})
        EXPECT_GT(c.blackOnWhite ? darkIn(*picture, line) : testing::inkIn(*picture, line), 0);
}

INSTANTIATE_TEST_SUITE_P(ExprViewLongDivision, HeadPictures,
                         ::testing::Values(PictureCase{ui::Idiom::Phone, 40, false, "longdivision-head-phone"},
                                           PictureCase{ui::Idiom::Tablet, 57, false, "longdivision-head-tablet"},
                                           PictureCase{ui::Idiom::Phone, 40, true, "longdivision-head-phone-black"},
                                           PictureCase{ui::Idiom::Tablet, 57, true, "longdivision-head-tablet-black"}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::ranges::replace(name, '-', '_');
                             return name;
                         });

} // namespace
} // namespace zm
