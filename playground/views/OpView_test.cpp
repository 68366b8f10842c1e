#include "model/ExprQuotient.h"
#include "model/testing/Trees.h"
#include "playground/testing/PlaygroundStage.h"
#include "playground/views/Baggage.h"
#include "playground/views/OpView.h"
#include "playground/views/OpViewDivide.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

class OpViewTest : public ::testing::Test {
protected:
    PlaygroundStage stage;
};

TEST_F(OpViewTest, AnOperatorLabelShowsItsSymbolAndNeverCountsAsHighlighted) {
    auto plus = std::make_shared<OpPlus>(num(1), num(2));
    auto view = std::dynamic_pointer_cast<OpViewPlus>(makeOpView(*plus, *stage.playgroundView, nullptr));
    ASSERT_TRUE(view);
    EXPECT_EQ(view->text(), "+");
    EXPECT_EQ(view->font().name(), stage.playgroundView->numberFontName());
    EXPECT_FLOAT_EQ(view->font().pointSize(), stage.playgroundView->baseFontSize());
    EXPECT_EQ(view->textColor(), stage.playgroundView->expressionColor());
    EXPECT_EQ(view->getObj(), plus);
    EXPECT_EQ(view->getBaseNodeGenericViews().front().get(), static_cast<IGenericView*>(view.get()));
    view->highlight();
    EXPECT_EQ(view->textColor(), kHighlightColor);
    EXPECT_FALSE(view->isHighlighted());
    view->dehighlight();
    EXPECT_EQ(view->textColor(), core::Color::white());
}

TEST_F(OpViewTest, ANewOperatorViewStartsWhereTheRecordSaysOrAtTheOrigin) {
    auto times = std::make_shared<OpTimes>(num(1), num(2));
    auto placed = makeOpView(*times, *stage.playgroundView, nullptr);
    EXPECT_EQ(placed->getTopLeft(), (core::Point{0, 0}));

    placed->moveTo({200, 100}, AnchorTopLeft);
    Baggage bag;
    bag.addPositionForObj(times, *placed, AnchorTopLeft);
    auto fresh = makeOpView(*times, *stage.playgroundView, &bag);
    EXPECT_NE(fresh, placed);
    EXPECT_EQ(fresh->getTopLeft(), (core::Point{200, 100}));
}

TEST_F(OpViewTest, ASurvivingOperatorKeepsItsViewUnmoved) {
    auto fraction = quot(num(6), num(3));
    ExprViewPtr old = stage.show(*fraction);
    auto bar = old->viewWithOp(fraction->op().get());
    const core::Rect frame = asPlatformView(bar)->frame();
    auto successor = std::make_shared<OpDivide>(num(6), num(3));
    Baggage bag(old);
    bag.addOpView(bar);
    // Taken over by another operator object: the view is re-pointed, not remade.
    bar->setObj(successor);
    EXPECT_EQ(makeOpView(*successor, *stage.playgroundView, &bag), bar);
    EXPECT_EQ(bar->getObj(), successor);
    EXPECT_EQ(asPlatformView(bar)->frame(), frame);
}

TEST_F(OpViewTest, TheFractionBarIsAFilledBarSizedOneSideAtATime) {
    auto divide = std::make_shared<OpDivide>(num(6), num(3));
    auto bar = OpViewDivide::create(divide, *stage.playgroundView);
    EXPECT_EQ(bar->frame(), (core::Rect{0, 0, 50, 5}));
    EXPECT_EQ(bar->lineColor(), stage.playgroundView->expressionColor());
    EXPECT_FLOAT_EQ(bar->space(), stage.playgroundView->space());
    bar->setFrame({10, 20, 50, 5});
    bar->setWidth(120);
    EXPECT_EQ(bar->frame(), (core::Rect{10, 20, 120, 5}));
    bar->setHeight(3);
    EXPECT_EQ(bar->frame(), (core::Rect{10, 20, 120, 3}));
    // No generic subviews: a highlight leaves the colour alone.
    bar->highlight();
    EXPECT_EQ(bar->lineColor(), stage.playgroundView->expressionColor());
    bar->setColor(kHighlightColor);
    EXPECT_EQ(bar->lineColor(), kHighlightColor);
}

} // namespace
} // namespace zm
