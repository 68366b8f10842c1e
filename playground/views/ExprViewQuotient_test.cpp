#include "model/testing/Trees.h"
#include "playground/testing/PlaygroundStage.h"
#include "playground/views/ExprViewQuotient.h"
#include "playground/views/OpViewDivide.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

class ExprViewQuotientTest : public ::testing::Test {
protected:
    PlaygroundStage stage{ui::Idiom::Tablet};
};

TEST_F(ExprViewQuotientTest, TheBarIsAsWideAsTheWiderPartAfterEveryFontChange) {
    auto fraction = quot(num(6), sum({num(100), var("x")}));
    auto view = std::static_pointer_cast<ExprViewQuotient>(stage.show(*fraction));
    for (float size : {30.0f, 80.0f}) {
        view->setFontSize(size, false);
        const float wider = std::max(view->firstExprView()->getWidth(), view->secondExprView()->getWidth());
        EXPECT_FLOAT_EQ(view->getWidth(), wider);
        EXPECT_FLOAT_EQ(view->bar()->frame().width(), wider);
        EXPECT_FLOAT_EQ(view->bar()->frame().height(), view->space() / 2);
        EXPECT_FLOAT_EQ(view->getHeight(), view->firstExprView()->getHeight() +
                                               view->secondExprView()->getHeight() + 2 * view->space());
    }
}

TEST_F(ExprViewQuotientTest, PartsStandCentredAboveAndBelowTheBar) {
    auto fraction = quot(num(6), sum({num(100), var("x")}));
    auto view = std::static_pointer_cast<ExprViewQuotient>(stage.show(*fraction));
    view->moveTo({200, 300}, AnchorMiddleLeft);
    const float width = view->getWidth();
    EXPECT_EQ(view->bar()->getPointAtPosition(AnchorMiddleLeft), (core::Point{200, 300}));
    EXPECT_NEAR(view->firstExprView()->getPointAtPosition(AnchorBottomCenter).x, 200 + width / 2, 1e-3);
    EXPECT_NEAR(view->firstExprView()->getPointAtPosition(AnchorBottomCenter).y, 300 - 2 * view->space(),
                1e-3);
    EXPECT_NEAR(view->secondExprView()->getPointAtPosition(AnchorTopCenter).x, 200 + width / 2, 1e-3);
    EXPECT_NEAR(view->getTopLeft().x, 200, 1e-3);
}

TEST_F(ExprViewQuotientTest, ATouchJustOffTheBarPicksUpTheWholeFraction) {
    auto fraction = quot(num(6), num(3));
    auto view = std::static_pointer_cast<ExprViewQuotient>(stage.show(*fraction));
    const core::Rect bar = view->bar()->frame();
    const float space = view->space();
    EXPECT_EQ(view->getExprViewFromPoint({bar.midX(), bar.minY() - space * 0.9f}), view);
    EXPECT_EQ(view->getExprViewFromPoint({bar.midX(), bar.maxY() + space * 0.5f}), view->secondExprView());
    EXPECT_EQ(view->getExprViewFromPoint({bar.maxX() + 5, bar.midY()}), nullptr);
}

TEST_F(ExprViewQuotientTest, AFractionDrawsLegibly) {
    auto fraction = quot(prod({num(5), num(2)}), num(2));
    ExprViewPtr view = stage.show(*fraction);
    auto image = stage.render("fraction");
    EXPECT_TRUE(isLegible(*image, *view));
    auto quotient = std::static_pointer_cast<ExprViewQuotient>(view);
    EXPECT_GT(inkIn(*image, quotient->bar()->frame()), quotient->bar()->frame().width() * 0.8f);
}

} // namespace
} // namespace zm
