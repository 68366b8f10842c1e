#include "model/steps/StepAdd.h"
#include "model/steps/StepMultiply.h"
#include "model/testing/Trees.h"
#include "playground/testing/PlaygroundStage.h"
#include "playground/views/ExprViewEquation.h"
#include "playground/views/ExprViewList.h"
#include "playground/views/OpView.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

class ExprViewListTest : public ::testing::Test {
protected:
    PlaygroundStage stage{ui::Idiom::Tablet};
};

TEST_F(ExprViewListTest, OnlyASumStandingAsAFactorShowsParentheses) {
    auto inner = sum({num(1), var("x")});
    auto product = prod({num(3), inner});
    auto view = std::static_pointer_cast<ExprViewProduct>(stage.show(*product));
    auto sumView = std::static_pointer_cast<ExprViewList>(view->exprViews()[1]);
    EXPECT_TRUE(sumView->isParenVisible());
    EXPECT_FALSE(view->isParenVisible());
    // Shown at once, without a fade.
    EXPECT_FALSE(asPlatformView(sumView->leftParen())->layer().hasAnimations());
    const float terms = sumView->exprViews()[0]->getWidth() + sumView->exprViews()[1]->getWidth() +
                        sumView->opViews()[0]->getWidth() + 2 * sumView->space();
    EXPECT_FLOAT_EQ(sumView->getWidth(),
                    terms + sumView->leftParen()->getWidth() + sumView->rightParen()->getWidth());
    // The parentheses stand right beside the terms.
    EXPECT_FLOAT_EQ(sumView->leftParen()->getPointAtPosition(AnchorMiddleRight).x,
                    sumView->exprViews()[0]->getPointAtPosition(AnchorMiddleLeft).x);

    auto equation = eq(sum({num(1), var("x")}), num(5));
    auto side = std::static_pointer_cast<ExprViewList>(
        std::static_pointer_cast<ExprViewEquation>(stage.show(*equation))->firstExprView());
    EXPECT_FALSE(side->isParenVisible());
    EXPECT_FLOAT_EQ(side->getWidth(), side->exprViews()[0]->getWidth() + side->exprViews()[1]->getWidth() +
                                          side->opViews()[0]->getWidth() + 2 * side->space());
    // Hidden parentheses are placed all the same, ready to fade in.
    EXPECT_FLOAT_EQ(side->leftParen()->getPointAtPosition(AnchorMiddleLeft).x,
                    side->exprViews()[0]->getPointAtPosition(AnchorMiddleLeft).x);
    side->makeParenVisible();
    EXPECT_TRUE(asPlatformView(side->leftParen())->layer().hasAnimations());
}

TEST_F(ExprViewListTest, TheTimesSignSitsTwoUnitsLowerThanThePlus) {
    auto expr = sum({num(1), prod({num(2), num(3)})});
    auto view = std::static_pointer_cast<ExprViewList>(stage.show(*expr));
    auto product = std::static_pointer_cast<ExprViewList>(view->exprViews()[1]);
    const float row = view->exprViews()[0]->getPointAtPosition(AnchorMiddleLeft).y;
    EXPECT_FLOAT_EQ(view->opViews()[0]->getPointAtPosition(AnchorMiddleLeft).y, row);
    EXPECT_FLOAT_EQ(product->opViews()[0]->getPointAtPosition(AnchorMiddleLeft).y, row + 2 * view->space());
    EXPECT_TRUE(isExactly<OpViewTimes>(product->opViews()[0].get()));
}

TEST_F(ExprViewListTest, ATermPickedUpLargerLeavesTheRowsHeightAlone) {
    auto expr = sum({num(1), num(22), num(3)});
    auto view = std::static_pointer_cast<ExprViewList>(stage.show(*expr));
    const float height = view->getHeight();
    view->exprViews()[1]->setFontSize(view->baseFontSize() * 1.2f, false);
    EXPECT_FLOAT_EQ(view->getHeight(), height);
    EXPECT_GT(view->exprViews()[1]->getHeight(), height);
}

TEST_F(ExprViewListTest, AnOperatorPicksUpTheListAndATapCarriesItOut) {
    auto product = prod({num(2), num(3)});
    auto expr = sum({num(1), product});
    auto view = std::static_pointer_cast<ExprViewList>(stage.show(*expr));
    auto productView = std::static_pointer_cast<ExprViewList>(view->exprViews()[1]);
    const core::Point onTimes = productView->opViews()[0]->getPointAtPosition(AnchorCenter);
    const core::Point onPlus = view->opViews()[0]->getPointAtPosition(AnchorCenter);
    EXPECT_EQ(view->getExprViewFromPoint(onTimes), productView);
    EXPECT_EQ(view->getExprViewFromPoint(onPlus), view);
    EXPECT_TRUE(view->draggingOnExpr(onPlus));
    auto multiply = std::dynamic_pointer_cast<StepMultiply>(view->stepFromTap(onTimes));
    ASSERT_TRUE(multiply);
    EXPECT_EQ(multiply->times(), product->ops()[0]);
    EXPECT_TRUE(std::dynamic_pointer_cast<StepAdd>(view->stepFromTap(onPlus)));
    // A tap on a term asks the term.
    EXPECT_TRUE(view->stepFromTap(view->exprViews()[0]->getPointAtPosition(AnchorCenter)));
}

TEST_F(ExprViewListTest, OperatorViewsAreFoundForEveryOperatorOfTheTree) {
    auto inner = sum({num(1), var("x")});
    auto product = prod({num(3), inner});
    auto view = std::static_pointer_cast<ExprViewList>(stage.show(*product));
    auto sumView = std::static_pointer_cast<ExprViewList>(view->exprViews()[1]);
    EXPECT_EQ(view->viewWithOp(product->ops()[0].get()), view->opViews()[0]);
    EXPECT_EQ(view->viewWithOp(product->leftParen().get()), view->leftParen());
    EXPECT_EQ(view->viewWithOp(product->rightParen().get()), view->rightParen());
    EXPECT_EQ(view->viewWithOp(inner->ops()[0].get()), sumView->opViews()[0]);
    EXPECT_EQ(view->viewWithOp(inner->leftParen().get()), sumView->leftParen());
    EXPECT_EQ(view->viewWithObj(inner.get()), sumView);
    EXPECT_EQ(view->description(), "3*1+x");
    // The base nodes: the terms and the operators, not the parentheses.
    EXPECT_EQ(view->getBaseNodeGenericViews().size(), 5u);
}

// One typical problem of every topic: each draws every term legibly, without labels on top of
// each other.
TEST(ExprViewRendering, TypicalProblemsOfEveryTopicDrawLegibly) {
    struct Problem {
        const char* name;
        std::function<ExprPtr()> make;
    };
    const Problem problems[] = {
        {"sums",
         [] {
             return sum({num(3), num(8), num(5), num(2)});
         }},
        {"like-terms",
         [] {
             return sum({term(3, "x"), term(2, "y"), term(-5, "x"), num(4)});
         }},
        {"order-of-operations",
         [] {
             return sum({num(1), prod({num(2), num(3)}), num(-4)});
         }},
        {"factors",
         [] {
             return prod({num(12), term(6, "x", 2)});
         }},
        {"fractions",
         [] {
             return quot(prod({num(6), var("x")}), prod({num(3), var("x"), num(2)}));
         }},
        {"equations",
         [] {
             return eq(sum({term(2, "x"), num(3)}), num(7));
         }},
        {"distribution",
         [] {
             return prod({num(3), sum({var("x"), num(2)})});
         }},
        {"exponents",
         [] {
             return prod({var("x", 2), var("x", 3), term(-1, "y", 68)});
         }},
    };
    for (ui::Idiom idiom : {ui::Idiom::Tablet, ui::Idiom::Phone}) {
        for (const Problem& problem : problems) {
            const std::string name =
                std::string(problem.name) + (idiom == ui::Idiom::Tablet ? "-tablet" : "-phone");
            SCOPED_TRACE(name);
            PlaygroundStage stage(idiom);
            ExprPtr expr = problem.make();
            ExprViewPtr view = stage.show(*expr);
            EXPECT_TRUE(isLegible(*stage.render(name), *view));
            for (const auto& solo : expr->getSolos()) {
                ExprViewPtr termView = view->viewWithExpr(solo.get());
                ASSERT_TRUE(termView);
                EXPECT_FALSE(termView->getViewList().empty()) << solo->description();
            }
            // The expression fits on the screen.
            const core::Rect screen = stage.playgroundView->bounds();
            EXPECT_TRUE(screen.contains(view->getHitboxWithTransform())) << expr->description();
        }
    }
}

} // namespace
} // namespace zm
