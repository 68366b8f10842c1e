#include "model/steps/StepAdd.h"
#include "model/steps/StepEuclideanFountain.h"
#include "model/steps/StepFactorize.h"
#include "model/testing/Trees.h"
#include "playground/testing/PlaygroundStage.h"
#include "playground/views/AnchorGeometry.h"
#include "playground/views/ExprViewEquation.h"
#include "playground/views/ExprViewList.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

class ExprViewEquationTest : public ::testing::Test {
protected:
    std::shared_ptr<ExprViewEquation> equationView(const std::shared_ptr<ExprEquation>& equation) {
        auto view = std::dynamic_pointer_cast<ExprViewEquation>(
            makeExprView(*equation, *stage.playgroundView, nullptr));
        EXPECT_TRUE(view);
        return view;
    }

    PlaygroundStage stage{ui::Idiom::Tablet};
};

TEST_F(ExprViewEquationTest, ANarrowEquationStandsOnItsEqualsSign) {
    auto view = equationView(eq(var("x"), num(5)));
    view->moveTo({500, 300}, AnchorCenter, {1024, 768});
    // The sign stands one spacing unit right of the point, its left side half its width left of it.
    EXPECT_NEAR(view->opView()->getPointAtPosition(AnchorCenter).x, 500 + view->space(), 1e-3);
    EXPECT_NEAR(view->firstExprView()->getPointAtPosition(AnchorMiddleRight).x,
                500 - view->opView()->getWidth() / 2, 1e-3);
    EXPECT_NEAR(view->opView()->getPointAtPosition(AnchorCenter).y, 300, 1e-3);
}

TEST_F(ExprViewEquationTest, AWideEquationOrATinyPlayingAreaCentresTheWhole) {
    auto wide = equationView(eq(sum({num(1234567), num(7654321), num(1111111), num(2222222)}), num(5)));
    wide->moveTo({500, 300}, AnchorCenter, {1024, 768});
    EXPECT_NEAR(wide->firstExprView()->getPointAtPosition(AnchorMiddleLeft).x, 500 - wide->getWidth() / 2,
                1e-2);

    auto narrow = equationView(eq(var("x"), num(5)));
    narrow->moveTo({500, 300}, AnchorCenter, {1, 1});
    EXPECT_NEAR(narrow->firstExprView()->getPointAtPosition(AnchorMiddleLeft).x, 500 - narrow->getWidth() / 2,
                1e-3);
    // The row: side, unit, sign, unit, side.
    EXPECT_NEAR(narrow->secondExprView()->getPointAtPosition(AnchorMiddleLeft).x,
                500 - narrow->getWidth() / 2 + narrow->firstExprView()->getWidth() +
                    narrow->opView()->getWidth() + 2 * narrow->space(),
                1e-3);
}

TEST_F(ExprViewEquationTest, EveryAnchorPlacesTheEquationOnTheSameRow) {
    auto view = equationView(eq(var("x"), num(5)));
    view->moveTo({100, 100}, AnchorTopLeft, {1, 1});
    const core::Rect placed = view->getHitbox();
    for (Anchor anchor :
         {AnchorTopRight, AnchorBottomLeft, AnchorBottomCenter, AnchorMiddleRight, AnchorMiddleLeft}) {
        SCOPED_TRACE(anchor);
        const float width = view->getWidth();
        const float height = view->getHeight();
        const core::Point target = pointAtAnchorInRect({100, 100, width, height}, anchor);
        view->moveTo({0, 0}, AnchorTopLeft, {1, 1});
        view->moveTo(target, anchor, {1, 1});
        EXPECT_NEAR(view->getHitbox().minX(), placed.minX(), 1e-3);
        EXPECT_NEAR(view->getHitbox().midY(), placed.midY(), 1e-3);
    }
}

TEST_F(ExprViewEquationTest, TapsAskForTheStepOfWhatIsUnderTheFinger) {
    auto equation = eq(sum({num(3), num(5)}), num(8));
    ExprViewPtr view = stage.show(*equation);
    auto equationView = std::static_pointer_cast<ExprViewEquation>(view);
    auto left = std::static_pointer_cast<ExprViewList>(equationView->firstExprView());

    auto fountain = std::dynamic_pointer_cast<StepEuclideanFountainStart>(
        view->stepFromTap(equationView->opView()->getPointAtPosition(AnchorCenter)));
    ASSERT_TRUE(fountain);
    EXPECT_EQ(fountain->equation(), equation);

    auto add = std::dynamic_pointer_cast<StepAdd>(
        view->stepFromTap(left->opViews()[0]->getPointAtPosition(AnchorCenter)));
    ASSERT_TRUE(add);

    // 8 has two factor pairs: a choice; 3 has one.
    EXPECT_TRUE(std::dynamic_pointer_cast<StepFactorizeChoices>(
        view->stepFromTap(equationView->secondExprView()->getPointAtPosition(AnchorCenter))));
    EXPECT_TRUE(std::dynamic_pointer_cast<StepFactorize>(
        view->stepFromTap(left->exprViews()[0]->getPointAtPosition(AnchorCenter))));

    EXPECT_EQ(view->stepFromTap({5, 5}), nullptr);
    EXPECT_EQ(view->getOpViewFromPoint(equationView->opView()->getPointAtPosition(AnchorCenter)),
              equationView->opView());
}

TEST_F(ExprViewEquationTest, AnEquationDrawsLegibly) {
    auto equation = eq(sum({term(3, "x"), num(5)}), num(20));
    ExprViewPtr view = stage.show(*equation);
    EXPECT_TRUE(isLegible(*stage.render("equation"), *view));
}

} // namespace
} // namespace zm
