#include "model/steps/StepDistribute.h"
#include "model/testing/Trees.h"
#include "platform/ui/ShapeLayer.h"
#include "playground/DistributionDrawingView.h"
#include "playground/PlaygroundDistribute.h"
#include "playground/testing/PlayStage.h"
#include "playground/views/ExprViewList.h"
#include "playground/views/OpSlider.h"

#include <cmath>
#include <random>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

core::Point middleOf(const core::Rect& rect) {
    return {rect.midX(), rect.midY()};
}

float distance(core::Point a, core::Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

class PlaygroundDistributeTest : public ::testing::Test {
protected:
    explicit PlaygroundDistributeTest(ui::Idiom idiom = ui::Idiom::Tablet)
        : stage(idiom) {}

    // Starts the problem, taps its first "*" and answers the distribution playground that opens.
    std::shared_ptr<PlaygroundDistribute> open(const std::shared_ptr<ExprProduct>& root) {
        stage.start(root);
        stage.tap(timesPoint(*root));
        auto modal = std::dynamic_pointer_cast<PlaygroundDistribute>(stage.playgroundView->modalPlayground());
        EXPECT_TRUE(modal) << "no distribution playground for " << root->description();
        stage.delegate->messages.clear();
        return modal;
    }

    // Where a finger taps a "*": a little above its low-set sign, as players do.
    core::Point timesPoint(const ExprProduct& product) {
        const core::Point center = stage.centerOf(product.ops()[0].get());
        return {center.x, center.y - stage.playgroundView->space()};
    }

    // The automatic player's way of moving the slider.
    static void slide(PlaygroundDistribute& modal, float value) {
        modal.slider()->setValue(value);
        modal.sliderChanged();
    }

    int stepsApplied() const { return stage.delegate->count("willExecuteStep"); }

    PlayStage stage;
};

TEST_F(PlaygroundDistributeTest, AFactorLeftOfTheSumGoesRightwardsAboveThenBelow) {
    auto x = var("x"), three = num(3);
    auto modal = open(prod({num(2), sum({x, three})}));
    ASSERT_TRUE(modal);
    EXPECT_TRUE(modal->dirRight());
    EXPECT_EQ(modal->slider()->value(), 0);
    EXPECT_FALSE(modal->stepDist()->reverse());
    ASSERT_EQ(modal->distributors().size(), 2u);
    ASSERT_EQ(modal->ops().size(), 2u);

    const std::vector<DrawingPath>& paths = modal->drawing()->paths();
    ASSERT_EQ(paths.size(), 2u);
    const ExprViewList& acceptor = *modal->acceptor();
    EXPECT_EQ(paths[0].lastPoint(), acceptor.viewWithExpr(x.get())->getPointAtPosition(AnchorTopCenter));
    EXPECT_LT(paths[0].control().y, paths[0].firstPoint().y) << "the first arrow goes above";
    EXPECT_GT(paths[1].control().y, paths[1].firstPoint().y) << "the second arrow goes below";
    EXPECT_GT(paths[1].lastPoint().y,
              acceptor.viewWithExpr(three.get())->getPointAtPosition(AnchorBottomCenter).y);

    slide(*modal, 1);
    EXPECT_EQ(stage.text(), "2 * x + 2 * 3");
    EXPECT_FALSE(stage.playgroundView->modalVisible());
}

TEST_F(PlaygroundDistributeTest, AFactorRightOfTheSumGoesLeftwardsToTheLastTermFirst) {
    auto x = var("x"), three = num(3);
    auto root = prod({sum({x, three}), num(2)});
    auto modal = open(root);
    ASSERT_TRUE(modal);
    EXPECT_FALSE(modal->dirRight());
    EXPECT_EQ(modal->slider()->value(), 1);
    EXPECT_TRUE(modal->stepDist()->reverse());
    const std::vector<DrawingPath>& paths = modal->drawing()->paths();
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0].lastPoint(),
              modal->acceptor()->viewWithExpr(three.get())->getPointAtPosition(AnchorTopCenter));
    EXPECT_NEAR(paths[1].lastPoint().x,
                modal->acceptor()->viewWithExpr(x.get())->getPointAtPosition(AnchorBottomCenter).x, 0.01);

    slide(*modal, 0.5f);
    EXPECT_EQ(stage.text(), "(x + 3) * 2");
    slide(*modal, 0);
    EXPECT_EQ(stage.text(), "x * 2 + 3 * 2");
}

TEST_F(PlaygroundDistributeTest, ThreeTermsGetArrowsAboveBelowAbove) {
    auto modal = open(prod({num(2), sum({var("x"), num(3), var("y")})}));
    ASSERT_TRUE(modal);
    const std::vector<DrawingPath>& paths = modal->drawing()->paths();
    ASSERT_EQ(paths.size(), 3u);
    std::vector<bool> above;
    for (const DrawingPath& path : paths)
        above.push_back(path.control().y < path.firstPoint().y);
    EXPECT_EQ(above, (std::vector<bool>{true, false, true}));
    EXPECT_LT(paths[0].lastPoint().x, paths[1].lastPoint().x);
    EXPECT_LT(paths[1].lastPoint().x, paths[2].lastPoint().x);
}

TEST_F(PlaygroundDistributeTest, CopiesLiftOffTheFactorThenFollowTheirArrows) {
    auto two = num(2);
    auto modal = open(prod({two, sum({var("x"), num(3)})}));
    ASSERT_TRUE(modal);
    const core::Rect factor = stage.main().mainExprView()->viewWithExpr(two.get())->getHitbox();
    ExprView& copy = *modal->distributors()[0];
    EXPECT_EQ(copy.getPointAtPosition(AnchorCenter), middleOf(factor)) << "the copies start on the factor";

    // At 0.1 the copy has lifted two thirds of the way: it still overlaps the factor, and its times
    // sign rests beside it as the real one rests beside the factor.
    slide(*modal, 0.1f);
    EXPECT_FALSE(copy.getHitbox().intersected(factor).isNull());
    EXPECT_LT(copy.getPointAtPosition(AnchorCenter).y, middleOf(factor).y);
    const core::Point center = copy.getPointAtPosition(AnchorCenter);
    const core::Point sign = modal->ops()[0]->getPointAtPosition(AnchorCenter);
    EXPECT_NEAR(sign.x, center.x + modal->timesSignOffset().x, 0.01);
    EXPECT_NEAR(sign.y, center.y + modal->timesSignOffset().y, 0.01);

    // On the way, each copy is on its own arrow.
    slide(*modal, 0.6f);
    for (size_t i = 0; i < 2; ++i) {
        const core::Point on = modal->drawing()->paths()[i].getPositionAtPercentageThrough(0.45f);
        EXPECT_LT(distance(modal->distributors()[i]->getPointAtPosition(AnchorCenter), on), 0.01) << i;
    }
    EXPECT_EQ(stage.text(), "2 * (x + 3)") << "nothing is applied before the end";
}

TEST_F(PlaygroundDistributeTest, TheNewProductsStartWhereTheCopiesWere) {
    auto root = prod({num(2), sum({var("x"), num(3)})});
    auto modal = open(root);
    ASSERT_TRUE(modal);
    slide(*modal, 0.99f);
    const core::Point copyAt = modal->distributors()[1]->getPointAtPosition(AnchorCenter);
    const ExprPtr copy = modal->stepDist()->distCopies()[1];
    slide(*modal, 1);
    const std::shared_ptr<ExprView> born = stage.main().mainExprView()->viewWithExpr(copy.get());
    ASSERT_TRUE(born);
    // The settle has only begun: what shows is still where the copy stood.
    const core::Rect shown = born->getViewList().front()->presentationFrame();
    EXPECT_LT(distance(middleOf(shown), copyAt), 1);
    stage.settle();
    EXPECT_EQ(stage.text(), "2 * x + 2 * 3");
}

// A late slider change after a cancel (the automatic player may still send one) applies nothing.
TEST_F(PlaygroundDistributeTest, ACancelIsFinal) {
    auto x = var("x");
    auto root = prod({num(2), sum({x, num(3)})});
    auto modal = open(root);
    ASSERT_TRUE(modal);
    slide(*modal, 0.9f);
    const float fontSize = stage.playgroundView->baseFontSize();
    // The finger lands on the x and lifts there: the touch only cancels; it is no tap on the x.
    stage.tap(stage.centerOf(x.get()));
    EXPECT_FALSE(stage.playgroundView->modalVisible());
    EXPECT_TRUE(modal->clearing());
    EXPECT_EQ(stage.main().mainExprView()->baseFontSize(), fontSize);
    EXPECT_EQ(stage.main().mainExprView()->getPointAtPosition(AnchorCenter),
              stage.playgroundView->pivotPoint());

    slide(*modal, 1);
    slide(*modal, 0);
    EXPECT_EQ(stage.text(), "2 * (x + 3)");
    EXPECT_EQ(stepsApplied(), 0);
    EXPECT_EQ(stage.delegate->count("didErrorStep"), 0);
    EXPECT_EQ(stage.delegate->count("dismissedModalPlayground"), 1);
}

TEST_F(PlaygroundDistributeTest, TheStepIsAppliedOnce) {
    auto modal = open(prod({num(2), sum({var("x"), num(3)})}));
    ASSERT_TRUE(modal);
    slide(*modal, 1);
    slide(*modal, 1);
    modal->sliderChanged();
    stage.settle();
    EXPECT_EQ(stepsApplied(), 1);
    EXPECT_EQ(stage.text(), "2 * x + 2 * 3");
}

// A step whose factor and sum have no sign between them (a * b * (x + y), a into the sum): the copies
// travel without signs and the step still applies.
TEST_F(PlaygroundDistributeTest, WithoutATimesSignTheCopiesTravelAlone) {
    auto a = var("a");
    auto inner = sum({var("x"), var("y")});
    auto root = prod({a, var("b"), inner});
    stage.start(root);
    auto modal = std::dynamic_pointer_cast<PlaygroundDistribute>(
        stage.main().makePlaygroundDistribute(std::make_shared<StepDistribute>(a, inner)));
    ASSERT_TRUE(modal);
    stage.playgroundView->showModalPlayground(modal);
    EXPECT_TRUE(modal->ops().empty());
    EXPECT_EQ(modal->timesView(), nullptr);
    for (float value : {0.05f, 0.5f, 0.9f})
        slide(*modal, value);
    EXPECT_LT(distance(modal->distributors()[0]->getPointAtPosition(AnchorCenter),
                       modal->drawing()->paths()[0].getPositionAtPercentageThrough(0.75f)),
              0.01);
    slide(*modal, 1);
    EXPECT_EQ(stage.text(), "b * (a * x + a * y)");
}

TEST_F(PlaygroundDistributeTest, TheArrowsDrawThemselvesAndTheCopiesComeToTheFront) {
    auto modal = open(prod({num(2), sum({var("x"), num(3)})}));
    ASSERT_TRUE(modal);
    ASSERT_TRUE(modal->drawing()->shapeLayer());
    stage.settle();
    const auto image = stage.render("distribute-modal");
    for (const DrawingPath& path : modal->drawing()->paths()) {
        const core::Point middle = path.getPositionAtPercentageThrough(0.5f);
        EXPECT_GT(inkIn(*image, {middle.x - 3, middle.y - 3, 6, 6}), 0) << "no arrow at " << middle.x;
    }
    const std::vector<std::shared_ptr<ui::View>>& subviews = stage.playgroundView->subviews();
    const auto indexOf = [&](const std::shared_ptr<ui::View>& view) {
        return std::ranges::find(subviews, view) - subviews.begin();
    };
    EXPECT_GT(indexOf(modal->distributors()[0]->getViewList().front()), indexOf(modal->drawing()));
    EXPECT_GT(indexOf(modal->distributors()[0]->getViewList().front()),
              indexOf(stage.playgroundView->veil()));
}

// Laid out again (the host view redraws or turns), the arrows are one shape still.
TEST_F(PlaygroundDistributeTest, TheArrowsAreOneShapeDrawnAnewEachTime) {
    auto modal = open(prod({num(2), sum({var("x"), num(3)})}));
    ASSERT_TRUE(modal);
    DistributionDrawingView& drawing = *modal->drawing();
    modal->moveToFinalStateAnimated(false);
    modal->moveToFinalStateAnimated(true);
    EXPECT_EQ(drawing.layer().sublayers().size(), 1u);
    EXPECT_EQ(drawing.layer().sublayers().front(), drawing.shapeLayer());
    EXPECT_FALSE(drawing.isHidden());
    drawing.clear();
    EXPECT_FALSE(drawing.isDisplayed());
    EXPECT_TRUE(drawing.layer().sublayers().empty());
    EXPECT_TRUE(drawing.isHidden());
}

// The slider by hand, through the host's touches: the thumb dragged to the far end applies the step.
TEST_F(PlaygroundDistributeTest, AFingerDragsTheSliderToTheEnd) {
    auto modal = open(prod({num(2), sum({var("x"), num(3)})}));
    ASSERT_TRUE(modal);
    const OpSlider& slider = *modal->slider();
    const core::Rect thumb = slider.convertRectToView(slider.thumbRect(), stage.playgroundView.get());
    const core::Point end{slider.frame().maxX() + 20, thumb.midY()};
    stage.drag(middleOf(thumb), {thumb.midX() + 50, thumb.midY()}, 10);
    EXPECT_TRUE(stage.playgroundView->modalVisible()) << "released short of the end";
    EXPECT_EQ(stage.text(), "2 * (x + 3)");
    const core::Rect moved = slider.convertRectToView(slider.thumbRect(), stage.playgroundView.get());
    stage.drag(middleOf(moved), end, 20);
    EXPECT_EQ(stage.text(), "2 * x + 2 * 3");
    EXPECT_FALSE(stage.playgroundView->modalVisible());
    EXPECT_EQ(slider.superview(), nullptr);
    EXPECT_EQ(stepsApplied(), 1);
}

class PlaygroundDistributeOnAPhone : public PlaygroundDistributeTest {
protected:
    PlaygroundDistributeOnAPhone()
        : PlaygroundDistributeTest(ui::Idiom::Phone) {}
};

TEST_F(PlaygroundDistributeOnAPhone, TheExpressionShrinksAndRisesWhileShown) {
    auto root = prod({num(2), sum({var("x"), num(3)})});
    stage.start(root);
    const core::Point before = stage.main().mainExprView()->getPointAtPosition(AnchorCenter);
    const float fontSize = stage.main().mainExprView()->baseFontSize();
    stage.tap(timesPoint(*root));
    auto modal = std::dynamic_pointer_cast<PlaygroundDistribute>(stage.playgroundView->modalPlayground());
    ASSERT_TRUE(modal);
    EXPECT_LE(stage.main().mainExprView()->baseFontSize(), fontSize);
    EXPECT_FLOAT_EQ(stage.main().mainExprView()->getPointAtPosition(AnchorCenter).y,
                    before.y - 0.1f * stage.playgroundView->bounds().height());
    EXPECT_LT(modal->slider()->frame().maxY(), stage.playgroundView->bounds().height());
    stage.render("distribute-modal-phone");
    slide(*modal, 1);
    stage.settle();
    EXPECT_EQ(stage.text(), "2 * x + 2 * 3");
    EXPECT_EQ(stage.playgroundView->pivotPoint(), stage.center());
}

// Any touches at all: the playground ends applied or cancelled, or stays open, and never breaks.
TEST_F(PlaygroundDistributeTest, RandomTouchesNeverBreakIt) {
    std::mt19937 random(24);
    const core::Rect bounds = stage.playgroundView->bounds();
    for (int round = 0; round < 12; ++round) {
        auto root = prod({num(2), sum({var("x"), num(3), var("y")})});
        auto modal = open(root);
        ASSERT_TRUE(modal);
        const core::Rect slider = modal->slider()->frame();
        std::uniform_real_distribution<float> across(bounds.minX(), bounds.maxX());
        std::uniform_real_distribution<float> down(bounds.minY(), bounds.maxY());
        std::uniform_real_distribution<float> along(slider.minX() - 20, slider.maxX() + 20);
        std::uniform_real_distribution<float> value(-0.2f, 1.2f);
        for (int event = 0; event < 40 && stage.playgroundView->modalVisible(); ++event) {
            const bool onSlider = random() % 2 == 0;
            const core::Point point{onSlider ? along(random) : across(random),
                                    onSlider ? slider.midY() : down(random)};
            switch (random() % 5) {
            case 0:
                stage.host.touchDown(point);
                break;
            case 1:
                stage.host.touchMove(point);
                break;
            case 2:
                stage.host.touchUp(point);
                break;
            case 3:
                slide(*modal, value(random));
                break;
            default:
                modal->executorTouchBegan(point);
                break;
            }
            stage.host.advance(0.05);
        }
        stage.host.touchUp(middleOf(bounds));
        stage.settle();
        const std::string text = stage.text();
        EXPECT_TRUE(text == "2 * (x + 3 + y)" || text == "2 * x + 2 * 3 + 2 * y") << text;
        EXPECT_LE(stepsApplied(), 1);
        if (stage.playgroundView->modalVisible())
            stage.playgroundView->popModalPlayground();
    }
}

} // namespace
} // namespace zm
