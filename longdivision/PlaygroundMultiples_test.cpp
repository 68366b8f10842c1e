#include "longdivision/PlaygroundMultiples.h"

#include "longdivision/testing/LDStage.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "playground/views/Fonts.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::centerOf;

// 47 ÷ 6 with the divisor dropped on 47: the chooser is open on the row 47.
class Chooser : public ::testing::Test {
protected:
    explicit Chooser(ui::Idiom idiom = ui::Idiom::Tablet)
        : stage(idiom) {
        stage.start("6)47");
        stage.dragDivisorOver(stage.dividend(), 1);
    }

    PlaygroundMultiples& chooser() { return *stage.chooser(); }
    bool shown(const ui::View& button) const { return button.superview() == stage.view.get(); }

    testing::LDStage stage;
};

struct CountCase {
    uint32_t count;
    bool accepted;
};

class Counts : public Chooser, public ::testing::WithParamInterface<CountCase> {};

TEST_P(Counts, OnlyTheLargestMultipleThatFitsIsTaken) {
    const CountCase& c = GetParam();
    ASSERT_TRUE(stage.chooser());
    const std::shared_ptr<ExprSegment> row = chooser().segment();
    for (uint32_t k = 0; k < c.count; ++k)
        stage.tap(*chooser().plusButton());
    EXPECT_EQ(row->multiple()->coef(), int32_t(c.count));
    EXPECT_EQ(row->product()->coef(), int32_t(6 * c.count));
    EXPECT_EQ(row->difference()->coef(), 47 - int32_t(6 * c.count));
    stage.tap(*chooser().goButton());
    stage.host.advance(1);
    EXPECT_EQ(!stage.chooser(), c.accepted);
    EXPECT_EQ(stage.recorder->count("didErrorStep"), c.accepted ? 0u : 1u);
    EXPECT_EQ(stage.recorder->count("foundMultiple"), c.accepted ? 1u : 0u);
    if (c.accepted) {
        EXPECT_EQ(stage.quotient(), int32_t(c.count));
        EXPECT_EQ(stage.main().segmentViews().back()->multipleView()->solo()->coef(), int32_t(c.count));
    } else {
        EXPECT_EQ(chooser().counter(), c.count) << "still choosing";
    }
}

// 7 fits (difference 5); 8 leaves -1 and 6 leaves 11; before any count the row is 47 - 0.
INSTANTIATE_TEST_SUITE_P(PlaygroundMultiples, Counts,
                         ::testing::Values(CountCase{7, true}, CountCase{8, false}, CountCase{6, false},
                                           CountCase{0, false}));

TEST(PlaygroundMultiples, ASmallerPartialDividendTakesZeroAtOnce) {
    testing::LDStage stage;
    const auto division = stage.start("7)3");
    stage.main().insertHorizontalSegment(division->getFirstSegment(), nullptr, true, false);
    ASSERT_TRUE(stage.chooser());
    stage.tap(*stage.chooser()->goButton());
    EXPECT_FALSE(stage.chooser());
    EXPECT_EQ(stage.recorder->count("didErrorStep"), 0u);
}

TEST_F(Chooser, TheButtonsOnScreenFollowTheCount) {
    EXPECT_TRUE(shown(*chooser().goButton()));
    EXPECT_TRUE(shown(*chooser().plusButton()));
    EXPECT_FALSE(shown(*chooser().minusButton())) << "nothing below 0";
    stage.tap(*chooser().plusButton());
    EXPECT_TRUE(shown(*chooser().plusButton()));
    EXPECT_TRUE(shown(*chooser().minusButton()));
    stage.tap(*chooser().minusButton());
    EXPECT_FALSE(shown(*chooser().minusButton()));
    for (int k = 0; k < 9; ++k)
        chooser().incrementCounter();
    EXPECT_EQ(chooser().counter(), 9u);
    EXPECT_FALSE(shown(*chooser().plusButton()));
    EXPECT_TRUE(shown(*chooser().minusButton()));
    EXPECT_EQ(stage.recorder->count("didErrorStep"), 0u);
    chooser().incrementCounter();
    EXPECT_EQ(chooser().counter(), 9u) << "no digit above 9";
    EXPECT_EQ(stage.recorder->count("didErrorStep"), 1u);
    stage.host.advance(1);
    EXPECT_TRUE(shown(*chooser().goButton()));
}

TEST_F(Chooser, TheDigitOnOfferIsGoldAndTheRowShowsItsProduct) {
    stage.tap(*chooser().plusButton());
    stage.tap(*chooser().plusButton());
    const ExprViewSegment& row = *chooser().segmentView();
    EXPECT_EQ(stage.main().segmentViews().back().get(), &row) << "the row's view is made again";
    EXPECT_EQ(row.productView()->solo()->coef(), 12);
    EXPECT_EQ(row.differenceView()->solo()->coef(), 35);
    const auto label = std::dynamic_pointer_cast<ui::Label>(row.multipleView()->getViewList().front());
    ASSERT_TRUE(label);
    EXPECT_EQ(label->textColor(), chooser().goldColor());
    EXPECT_EQ(stage.head().answerView()->digitViews().back(), row.multipleView());
    EXPECT_EQ(stage.quotient(), 0) << "the quotient's number takes the digit once it is accepted";
}

TEST_F(Chooser, TheDivisorFliesFromTheDifferenceToTheProduct) {
    const core::Point difference = centerOf(*chooser().segmentView()->differenceView());
    const core::Point product = centerOf(*chooser().segmentView()->productView());
    stage.tap(*chooser().plusButton());
    // The tap took half a second: fly again and look halfway.
    chooser().incrementCounter();
    stage.host.advance(0.12);
    const auto picture = stage.render("ld-chooser-flying-divisor");
    std::vector<core::Rect> inFlight;
    for (const auto& view : stage.view->subviews()) {
        if (view->layer().animation("curveAnimation"))
            inFlight.push_back(view->presentationFrame());
    }
    ASSERT_FALSE(inFlight.empty());
    const core::Rect shown = inFlight.front();
    EXPECT_GT(shown.midX(), std::min(difference.x, product.x)) << "bowed to the right";
    EXPECT_GT(testing::inkIn(*picture, shown), 0);
    stage.host.advance(1);
    for (const auto& view : stage.view->subviews())
        EXPECT_FALSE(view->layer().animation("curveAnimation")) << "the copy is gone once it has landed";
}

class ChooserOnAPhone : public Chooser {
protected:
    ChooserOnAPhone()
        : Chooser(ui::Idiom::Phone) {}
};

TEST_F(ChooserOnAPhone, ButtonsAndTheRightEdge) {
    const core::Rect go = chooser().goButton()->frame();
    EXPECT_EQ(go.size, core::Size(60, 40));
    EXPECT_EQ(chooser().plusButton()->frame().size, core::Size(60, 40));
    EXPECT_EQ(chooser().goButton()->titleLabel().font(), fontNamed(kGeorgia, 40));
    EXPECT_LE(go.maxX(), stage.view->frame().width() - 5 + 1) << "moved inside the edge";
}

TEST(PlaygroundMultiples, AButtonPastTheRightEdgeMovesTheDivisionLeft) {
    testing::LDStage stage(ui::Idiom::Phone);
    stage.start("6)47");
    stage.dragDivisorOver(stage.dividend(), 1);
    PlaygroundMultiples& chooser = *stage.chooser();
    // Laid out from the middle again, the digit's column puts "✓" past the edge of a narrow host.
    stage.view->setFrame({0, 0, 200, 320});
    stage.main().moveToPivot();
    const float centred = centerOf(stage.dividend()).x;
    chooser.moveToPivot();
    EXPECT_NEAR(chooser.goButton()->frame().maxX(), 195, 1);
    EXPECT_LT(centerOf(stage.dividend()).x, centred - 1) << "the division moved left";
}

TEST(PlaygroundMultiples, TabletButtonsTakeTheDigitsHeight) {
    testing::LDStage stage;
    stage.start("6)47");
    stage.dragDivisorOver(stage.dividend(), 1);
    PlaygroundMultiples& chooser = *stage.chooser();
    ExprViewSoloist& digit = *chooser.segmentView()->multipleView();
    // The font sizes whose digit stands just under and just at 40 points.
    auto sizeFor = [&digit](float height) {
        float low = 1, high = 200;
        for (int k = 0; k < 40; ++k) {
            const float mid = (low + high) / 2;
            digit.setFontSize(mid, false);
            (digit.getHitbox().height() < height ? low : high) = mid;
        }
        return high;
    };
    const float base = stage.view->baseFontSize();
    digit.setFontSize(sizeFor(40) - 0.01f, false);
    ASSERT_LT(digit.getHitbox().height(), 40);
    chooser.updateHighlights();
    EXPECT_EQ(chooser.goButton()->frame().size, core::Size(60, 40));
    EXPECT_EQ(chooser.goButton()->titleLabel().font(), fontNamed(kGeorgia, std::max(30.0f, base)));
    digit.setFontSize(sizeFor(40), false);
    const float height = digit.getHitbox().height();
    ASSERT_GE(height, 40);
    chooser.updateHighlights();
    EXPECT_EQ(chooser.goButton()->frame().size, core::Size(std::floor(height), std::floor(0.75f * height)));
    EXPECT_EQ(chooser.minusButton()->frame().size, chooser.goButton()->frame().size);
    EXPECT_EQ(chooser.plusButton()->titleEdgeInsets().bottom, base / 8);
}

struct PictureCase {
    ui::Idiom idiom;
    const char* name;
};

class ChooserPictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(ChooserPictures, TheRowAndItsButtonsStandAboveTheVeil) {
    const PictureCase& c = GetParam();
    testing::LDStage stage(c.idiom);
    stage.start("43)98765");
    stage.dragDivisorOver(stage.dividend(), 1);
    ASSERT_TRUE(stage.chooser());
    stage.tap(*stage.chooser()->plusButton());
    stage.host.advance(1);
    const auto picture = stage.render(c.name);
    PlaygroundMultiples& chooser = *stage.chooser();
    for (const ui::Button* button : {chooser.goButton().get(), chooser.plusButton().get(), chooser.minusButton().get()}) {
        EXPECT_TRUE(stage.view->bounds().contains(button->frame())) << button->currentTitle();
        EXPECT_GT(testing::inkIn(*picture, button->frame()), 20) << button->currentTitle();
    }
    for (const auto* number : {chooser.segmentView()->productView().get(), chooser.segmentView()->differenceView().get()}) {
        const core::Rect box = number->getHitbox();
        EXPECT_GT(testing::inkIn(*picture, box), int(box.width() * box.height() / 20));
    }
    // The digit on offer is gold.
    const core::Rect digit = chooser.segmentView()->multipleView()->getHitbox().integral();
    int gold = 0;
    for (int y = int(digit.minY()); y < int(digit.maxY()); ++y) {
        for (int x = int(digit.minX()); x < int(digit.maxX()); ++x) {
            const gfx::Pixel pixel = picture->bitmap().pixel(x, y);
            gold += pixel.red > 200 && pixel.green > 180 && pixel.blue < 120;
        }
    }
    EXPECT_GT(gold, 10);
}

INSTANTIATE_TEST_SUITE_P(PlaygroundMultiples, ChooserPictures,
                         ::testing::Values(PictureCase{ui::Idiom::Phone, "ld-chooser-phone"},
                                           PictureCase{ui::Idiom::Tablet, "ld-chooser-tablet"}),
                         [](const auto& info) { return std::string(info.param.name + 11); });

} // namespace
} // namespace zm
