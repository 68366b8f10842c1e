#include "model/steps/StepReplace.h"
#include "model/testing/Trees.h"
#include "playground/DrawingView.h"
#include "playground/PlaygroundMain.h"
#include "playground/testing/PlayStage.h"
#include "playground/views/Baggage.h"
#include "playground/views/ExprViewList.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

class PlaygroundMainTest : public ::testing::Test {
protected:
    PlaygroundMain& main() { return stage.main(); }
    float space() { return main().mainExprView()->space(); }

    PlayStage stage;
};

// Idle → pending → agent, and the touch end resets the gesture.
TEST_F(PlaygroundMainTest, AMoveNearItsFirstPointWaitsAndAFartherOnePicksUpTheTerm) {
    auto five = num(5);
    stage.start(sum({num(3), five}));
    const core::Point at = stage.centerOf(five.get());
    EXPECT_TRUE(main().touchMoved(at));
    EXPECT_EQ(main().agentTriggerPoint(), at);
    EXPECT_TRUE(main().touchMoved({at.x + space() * 0.5f, at.y}));
    EXPECT_FALSE(main().agentExprView());
    EXPECT_FALSE(main().touchMoved({5, 5})) << "far from any term: not taken";
    EXPECT_TRUE(main().touchMoved({at.x + space() * 1.5f, at.y}));
    ASSERT_TRUE(main().agentExprView());
    EXPECT_EQ(main().agentExprView()->getExpr(), five);
    EXPECT_EQ(main().agentTriggerPoint(), (core::Point{0, 0}));
    EXPECT_FALSE(main().proximityAlarms().empty());
    EXPECT_TRUE(stage.playgroundView->activeAgent());

    EXPECT_TRUE(main().touchEnded({at.x + space() * 1.5f, at.y}));
    EXPECT_FALSE(main().agentExprView());
    EXPECT_TRUE(main().proximityAlarms().empty());
    EXPECT_EQ(main().agentTriggerPoint(), (core::Point{0, 0}));
    stage.settle();
    EXPECT_EQ(stage.text(), "3 + 5") << "dropped back in its place";
    EXPECT_NEAR(stage.centerOf(five.get()).x, at.x, 0.5f);
}

TEST_F(PlaygroundMainTest, AQuickDragStillTakesTheTermItStartedOn) {
    auto x = var("x"), three = num(3);
    stage.start(eq(sum({x, three}), num(7)));
    const core::Point from = stage.centerOf(three.get());
    // Five big moves: the second is already beside the 3.
    stage.drag(from, {from.x + 300, from.y}, 5);
    EXPECT_EQ(stage.text(), "x = 7 + -3");
}

TEST_F(PlaygroundMainTest, TheDirectionTurnsAfterFifteenPointsAndOutlivesTheDrag) {
    stage.start(sum({num(3), num(5)}));
    main().touchMoved({100, 10});
    EXPECT_EQ(main().currentDir().x, 0);
    main().touchMoved({114, 10});
    EXPECT_EQ(main().currentDir().x, 0);
    main().touchMoved({115, 300});
    EXPECT_EQ(main().currentDir().x, 1);
    EXPECT_EQ(main().lastPoint(), (core::Point{115, 300}));
    main().touchMoved({101, 300});
    EXPECT_EQ(main().currentDir().x, 1);
    main().touchMoved({100, 300});
    EXPECT_EQ(main().currentDir().x, -1);
    main().touchEnded({100, 300});
    // A new drag 15 to the right of the last decision moves rightwards at once.
    main().touchMoved({115, 10});
    EXPECT_EQ(main().currentDir().x, 1);
}

TEST_F(PlaygroundMainTest, APulledSumStretchesEightyPointsAndComesLooseBeyond) {
    auto inner = sum({num(3), num(4)});
    stage.start(prod({num(2), inner}));
    const core::Point plus = stage.centerOf(inner->ops()[0].get());
    main().touchMoved(plus);
    const core::Point origin{plus.x, plus.y + space() * 1.5f};
    // Still on the "+" (inside its label) once past the first point's neighbourhood: the whole sum is
    // pulled, measured from there.
    ASSERT_TRUE(main().touchMoved({plus.x, plus.y + 1}));
    main().touchMoved(origin);
    ASSERT_TRUE(main().springExprView());
    const core::Point start = main().springExprView()->getPointAtPosition(AnchorCenter);
    EXPECT_TRUE(main().touchMoved({origin.x + 80, origin.y}));
    EXPECT_TRUE(main().springExprView());
    EXPECT_NEAR(main().springExprView()->getPointAtPosition(AnchorCenter).x, start.x + 80, 1e-2);
    EXPECT_TRUE(main().touchMoved({origin.x + 81, origin.y}));
    EXPECT_FALSE(main().springExprView());
    ASSERT_TRUE(main().agentExprView());
    EXPECT_EQ(main().agentExprView()->getExpr(), inner);
}

TEST_F(PlaygroundMainTest, AReleasedSpringSnapsBackAndChangesNothing) {
    auto inner = sum({num(3), num(4)});
    auto root = prod({num(2), inner});
    stage.start(root);
    const core::Point plus = stage.centerOf(inner->ops()[0].get());
    const core::Point home = stage.main().mainExprView()->getPointAtPosition(AnchorCenter);
    stage.host.touchDown(plus);
    for (int i = 1; i <= 6; ++i) {
        stage.host.advance(1.0 / 60);
        stage.host.touchMove({plus.x + 10.0f * float(i), plus.y});
    }
    ASSERT_TRUE(main().springExprView());
    stage.host.touchUp({plus.x + 60, plus.y});
    stage.host.advance(0.1);
    EXPECT_TRUE(main().springExprView()) << "still snapping back";
    stage.settle();
    EXPECT_FALSE(main().springExprView());
    EXPECT_EQ(stage.text(), "2 * (3 + 4)");
    EXPECT_NEAR(main().mainExprView()->getPointAtPosition(AnchorCenter).x, home.x, 0.5f);
}

TEST_F(PlaygroundMainTest, TheDelegateHearsEachStepInOrderAndTheEndOfAllAnimationOnce) {
    auto root = sum({num(1), num(2), num(3), num(4)});
    stage.start(root);
    EXPECT_EQ(stage.delegate->messages, (std::vector<std::string>{"startedNewProblem", "animationComplete"}));
    stage.delegate->messages.clear();

    // Two quick steps: their settles overlap and end as one.
    auto first = root->ops()[0];
    auto last = root->ops()[2];
    stage.host.touchDown(stage.centerOf(first.get()));
    stage.host.touchUp(stage.centerOf(first.get()));
    stage.host.advance(0.1);
    stage.host.touchDown(stage.centerOf(last.get()));
    stage.host.touchUp(stage.centerOf(last.get()));
    stage.settle();
    EXPECT_EQ(stage.text(), "3 + 7");
    EXPECT_EQ(stage.delegate->messages,
              (std::vector<std::string>{"touchBegan", "willExecuteStep", "executedStep", "touchBegan",
                                        "willExecuteStep", "executedStep", "animationComplete"}));
    EXPECT_EQ(stage.delegate->before, (std::vector<std::string>{"1 + 2 + 3 + 4", "3 + 3 + 4"}));
    EXPECT_EQ(main().animationCount(), 0);
}

TEST_F(PlaygroundMainTest, ARefusedStepShakesItsTermsAndReportsTheError) {
    auto one = num(1);
    auto product = prod({num(2), num(3)});
    auto root = sum({one, product});
    stage.start(root);
    stage.delegate->messages.clear();
    const float home = stage.main().mainExprView()->viewWithExpr(one.get())->getHitbox().minX();
    // Adding before multiplying breaks the order of operations.
    stage.host.touchDown(stage.centerOf(root->ops()[0].get()));
    stage.host.touchUp(stage.centerOf(root->ops()[0].get()));
    EXPECT_EQ(stage.delegate->count("didErrorStep"), 1);
    EXPECT_NEAR(main().mainExprView()->viewWithExpr(one.get())->getHitbox().minX(), home - 20, 0.5f);
    stage.settle();
    EXPECT_EQ(stage.text(), "1 + 2 * 3");
    EXPECT_NEAR(main().mainExprView()->viewWithExpr(one.get())->getHitbox().minX(), home, 0.5f);

    // A refusal without terms to shake says nothing.
    stage.delegate->messages.clear();
    main().executeStep(std::make_shared<StepFail>(std::vector<ExprPtr>{}));
    stage.settle();
    EXPECT_EQ(stage.delegate->count("didErrorStep"), 0);
}

TEST_F(PlaygroundMainTest, AStepThatAsksForAModalPlaygroundOpensItInsteadOfBeingApplied) {
    auto twelve = num(12);
    stage.start(sum({twelve, num(1)}));
    stage.tap(stage.centerOf(twelve.get()));
    EXPECT_EQ(stage.text(), "12 + 1");
    EXPECT_TRUE(stage.playgroundView->modalVisible());
}

TEST(PlaygroundMainAlone, NothingBreaksWithoutAHostView) {
    auto root = sum({num(3), num(5)});
    std::shared_ptr<PlaygroundMain> orphan;
    {
        PlaygroundStage other;
        orphan = std::make_shared<PlaygroundMain>(*other.playgroundView);
        orphan->setMainExpr(root);
    }
    orphan->drawInitialState();
    orphan->moveToFinalStateAnimated(true);
    orphan->strive();
    orphan->touchBegan({10, 10});
    EXPECT_FALSE(orphan->touchMoved({10, 10}));
    EXPECT_FALSE(orphan->touchEnded({10, 10}));
    orphan->executeStep(root->ops()[0]->step());
    orphan->resizeToFit();
    EXPECT_EQ(orphan->mainExpr(), root);
    EXPECT_TRUE(orphan->getConcreteViews().empty());
}

// One problem of every kind the main playground plays by touch alone, move by move.
TEST(PlayByTouch, SumsAreAddedByTappingThePlus) {
    PlayStage stage;
    auto root = sum({num(3), num(8), num(5)});
    stage.start(root);
    stage.tap(stage.centerOf(root->ops()[1].get()));
    EXPECT_EQ(stage.text(), "3 + 13");
    stage.tap(stage.centerOf(std::static_pointer_cast<ExprList>(stage.expr())->ops()[0].get()));
    EXPECT_EQ(stage.text(), "16");
    EXPECT_TRUE(isLegible(*stage.render("play-sum"), *stage.main().mainExprView()));
}

TEST(PlayByTouch, LikeTermsAreBroughtTogetherByDraggingThenAdded) {
    PlayStage stage;
    auto threeX = term(3, "x"), two = num(2), fiveX = term(5, "x");
    stage.start(sum({threeX, two, fiveX}));
    const core::Point from = stage.centerOf(fiveX.get());
    const core::Point over = stage.centerOf(two.get());
    stage.drag(from, {over.x - 10, from.y});
    EXPECT_EQ(stage.text(), "3x + 5x + 2");
    stage.tap(stage.centerOf(std::static_pointer_cast<ExprList>(stage.expr())->ops()[0].get()));
    EXPECT_EQ(stage.text(), "8x + 2");
    EXPECT_TRUE(isLegible(*stage.render("play-like-terms"), *stage.main().mainExprView()));
}

TEST(PlayByTouch, TheOrderOfOperationsIsKept) {
    PlayStage stage;
    auto product = prod({num(2), num(3)});
    auto root = sum({num(1), product});
    stage.start(root);
    stage.tap(stage.centerOf(root->ops()[0].get()));
    EXPECT_EQ(stage.text(), "1 + 2 * 3") << "refused";
    EXPECT_EQ(stage.delegate->count("didErrorStep"), 1);
    stage.tap(stage.centerOf(product->ops()[0].get()));
    EXPECT_EQ(stage.text(), "1 + 6");
    stage.tap(stage.centerOf(std::static_pointer_cast<ExprList>(stage.expr())->ops()[0].get()));
    EXPECT_EQ(stage.text(), "7");
}

TEST(PlayByTouch, ATapSplitsATermIntoFactors) {
    PlayStage stage;
    auto threeX = term(3, "x");
    stage.start(sum({threeX, num(7)}));
    stage.tap(stage.centerOf(threeX.get()));
    EXPECT_EQ(stage.text(), "3 * x + 7");
    const std::string before = stage.text();
    // 7 splits only into 1 * 7, which shows nothing new: refused.
    stage.tap(stage.centerOf(stage.expr()->getSolos().back().get()));
    EXPECT_EQ(stage.text(), before);
    EXPECT_EQ(stage.delegate->count("didErrorStep"), 1);
}

TEST(PlayByTouch, ALineThroughEqualTermsAboveAndBelowCancelsThem) {
    PlayStage stage;
    auto five = num(5), twoUp = num(2), twoDown = num(2);
    auto root = quot(prod({five, twoUp}), twoDown);
    stage.start(root);
    // From above the upper 2, through both, to below the lower one; the line starts off the terms.
    const core::Rect upper = stage.main().mainExprView()->viewWithExpr(twoUp.get())->getHitbox();
    const core::Rect lower = stage.main().mainExprView()->viewWithExpr(twoDown.get())->getHitbox();
    const core::Point start{upper.midX(), upper.minY() - 10};
    const core::Point end{lower.midX(), lower.maxY() + 10};
    // The first move, a few points from the start, is over nothing: the line begins there.
    stage.host.touchDown(start);
    for (int i = 1; i <= 80; ++i) {
        stage.host.advance(1.0 / 60);
        const float t = float(i) / 80;
        stage.host.touchMove({start.x + (end.x - start.x) * t, start.y + (end.y - start.y) * t});
    }
    EXPECT_TRUE(stage.playgroundView->drawingView()->isDisplayed());
    // The line shows in red, the terms it crosses in the highlight colour.
    const auto drawn = stage.render("play-line-drawn");
    const core::Point middle{(start.x + end.x) / 2, (start.y + end.y) / 2};
    const gfx::Pixel red = drawn->bitmap().pixel(int(middle.x), int(middle.y));
    EXPECT_GT(red.red, 180);
    EXPECT_LT(red.green, 80);
    EXPECT_EQ(stage.main().mainExprView()->viewWithExpr(twoUp.get())->isHighlighted(), true);
    EXPECT_EQ(stage.main().mainExprView()->viewWithExpr(five.get())->isHighlighted(), false);
    stage.host.touchUp(end);
    stage.settle();
    EXPECT_FALSE(stage.playgroundView->drawingView()->isDisplayed());
    EXPECT_EQ(stage.text(), "5");
}

TEST(PlayByTouch, AnEquationIsSolvedByCarryingTermsAcross) {
    PlayStage stage;
    auto x = var("x"), three = num(3);
    stage.start(eq(sum({x, three}), num(7)));
    const core::Point from = stage.centerOf(three.get());
    stage.drag(from, {from.x + 250, from.y}, 40);
    EXPECT_EQ(stage.text(), "x = 7 + -3");
    auto right =
        std::static_pointer_cast<ExprList>(std::static_pointer_cast<ExprBinary>(stage.expr())->secondExpr());
    stage.tap(stage.centerOf(right->ops()[0].get()));
    EXPECT_EQ(stage.text(), "x = 4");
    EXPECT_TRUE(isLegible(*stage.render("play-equation"), *stage.main().mainExprView()));
}

TEST(PlayByTouch, ATermDroppedOnItsTwinIsFactoredOut) {
    PlayStage stage;
    auto a1 = num(2), a2 = num(2);
    auto root = sum({prod({a1, var("x")}), prod({a2, var("y")})});
    stage.start(root);
    const core::Point from = stage.centerOf(a2.get());
    const core::Point onto = stage.centerOf(a1.get());
    stage.host.touchDown(from);
    for (int i = 1; i <= 30; ++i) {
        stage.host.advance(1.0 / 60);
        const float t = float(i) / 30;
        // Under the finger the term hangs half its height higher: aim the finger lower.
        stage.host.touchMove({from.x + (onto.x - from.x) * t, from.y + 20 * t});
    }
    EXPECT_TRUE(stage.main().matchedExprView()) << "the twin lights up";
    stage.host.touchUp({onto.x, from.y + 20});
    stage.settle();
    EXPECT_EQ(stage.text(), "2 * (x + y)");
}

} // namespace
} // namespace zm
