// The automatic player inside the modal playgrounds: the factor pairs and the distribution slider.

#include "model/ExprProduct.h"
#include "model/Operator.h"
#include "model/steps/StepFactorize.h"
#include "playground/PlaygroundDistribute.h"
#include "playground/PlaygroundFactorizeChoices.h"
#include "playground/executors/CancelExecutor.h"
#include "playground/executors/DistributionExecutor.h"
#include "playground/executors/TouchCircleView.h"
#include "playground/executors/testing/ExecutorStage.h"
#include "playground/views/OpSlider.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

class ExecutorModalsTest : public ::testing::Test {
protected:
    // A finger taps a point of the playground view, and the tap settles.
    void tap(core::Point point) {
        const core::Point inWindow{point.x + ExecutorStage::kPlaygroundOrigin.x,
                                   point.y + ExecutorStage::kPlaygroundOrigin.y};
        stage.host.touchDown(inWindow);
        stage.host.advance(0.05);
        stage.host.touchUp(inWindow);
        stage.host.advance(1);
    }
    core::Point centerOf(const Expr* expr) const {
        return stage.main().mainExprView()->viewWithExpr(expr)->getPointAtPosition(AnchorCenter);
    }
    core::Point centerOf(const Operator* op) const {
        return stage.main().mainExprView()->viewWithOp(op)->getPointAtPosition(AnchorCenter);
    }
    template <class T> std::shared_ptr<T> modal() const {
        return std::dynamic_pointer_cast<T>(stage.playgroundView->modalPlayground());
    }
    // Opens the factor pairs of the problem, a single number.
    std::shared_ptr<PlaygroundFactorizeChoices> openPairs(const std::string& number) {
        stage.start(number);
        tap(centerOf(stage.expr().get()));
        return modal<PlaygroundFactorizeChoices>();
    }
    // Opens the distribution of the problem's only "*".
    std::shared_ptr<PlaygroundDistribute> openDistribution(const std::string& problem) {
        stage.start(problem);
        const OperatorPtr times = MoveFinder(stage.expr()).timesOps().front();
        const std::shared_ptr<PlaygroundView> view = stage.playgroundView;
        tap({centerOf(times.get()).x, centerOf(times.get()).y - 2 * view->space()});
        return modal<PlaygroundDistribute>();
    }

    ExecutorStage stage{ui::Idiom::Phone};
};

TEST_F(ExecutorModalsTest, TheSliderIsDrivenThroughAHundredAndTwoValues) {
    const std::vector<float> positions = AIExecutor::sliderPositions();
    ASSERT_EQ(positions.size(), 102u);
    EXPECT_EQ(positions.front(), 0);
    EXPECT_NEAR(positions[1], 0.01, 1e-6);
    EXPECT_NEAR(positions.back(), 1.01, 1e-4);
}

TEST_F(ExecutorModalsTest, ThePlayerDragsTheSliderToItsEndInEitherDirection) {
    const struct {
        const char* problem;
        const char* distributed;
    } cases[] = {{"3*(x+2)", "3 * x + 3 * 2"}, {"(x+2)*3", "x * 3 + 2 * 3"}};
    for (const auto& [problem, distributed] : cases) {
        SCOPED_TRACE(problem);
        auto distribute = openDistribution(problem);
        ASSERT_TRUE(distribute);
        const bool rightwards = distribute->dirRight();
        EXPECT_EQ(rightwards, std::string(problem).front() == '3');
        auto player = stage.makeExecutor<AIExecutor>();
        player->startFindingSteps();
        stage.host.advance(0.5);
        const std::shared_ptr<OpSlider> slider = distribute->slider();
        EXPECT_EQ(slider->value(), rightwards ? 0 : 1) << "pressed, not moved yet";
        stage.host.advance(10);
        EXPECT_FALSE(stage.playgroundView->modalVisible()) << "the far end applies the distribution";
        EXPECT_EQ(stage.text(), distributed);
        EXPECT_EQ(stage.delegate->count("didErrorStep"), 0);
    }
}

TEST_F(ExecutorModalsTest, AFactorPairBeyondTheVisibleStripIsScrolledToAndTapped) {
    auto pairs = openPairs("5040");
    ASSERT_TRUE(pairs);
    // The last pair lies far beyond the strip's visible width.
    const std::shared_ptr<ExprView> last = pairs->choices().back();
    ASSERT_GT(last->getPointAtPosition(AnchorCenter).x, pairs->scroller()->bounds().width());
    auto player = stage.makeExecutor<AIExecutor>();
    player->setReplacement(pairs->factorPairs().back());
    player->startFindingSteps();
    EXPECT_FALSE(player->replacement()) << "cleared once the tap is on its way";
    stage.host.advance(5);
    EXPECT_EQ(stage.text(), pairs->factorPairs().back()->description());
}

TEST_F(ExecutorModalsTest, WithoutAMatchingFactorPairThePlayerStops) {
    auto pairs = openPairs("12");
    ASSERT_TRUE(pairs);
    auto player = stage.makeExecutor<AIExecutor>();
    player->startFindingSteps();
    EXPECT_FALSE(player->operational()) << "no replacement to look for";

    player->setReplacement(ExprTextReader::parseString("5*7"));
    player->startFindingSteps();
    EXPECT_FALSE(player->operational()) << "no pair equivalent to it";
    EXPECT_TRUE(stage.playgroundView->modalVisible());
}

TEST_F(ExecutorModalsTest, TheCancelPlayerDropsTheSliderDragItWouldStart) {
    auto distribute = openDistribution("3*(x+2)");
    ASSERT_TRUE(distribute);
    auto player = stage.makeExecutor<CancelExecutor>();
    player->startFindingSteps();
    EXPECT_FALSE(player->operational());
    stage.host.advance(10);
    EXPECT_EQ(distribute->slider()->value(), 0);
    EXPECT_TRUE(stage.playgroundView->modalVisible());
    EXPECT_EQ(stage.text(), "3 * (x + 2)");
}

// Counts the factor-out steps the playground applies.
class FactorOutCounter : public RecordingPlaygroundDelegate {
public:
    void willExecuteStep(const std::shared_ptr<Step>& step, const std::shared_ptr<Expr>& expr) override {
        if (std::dynamic_pointer_cast<StepFactorOut>(step))
            ++factorOuts;
        RecordingPlaygroundDelegate::willExecuteStep(step, expr);
    }
    int factorOuts = 0;
};

TEST_F(ExecutorModalsTest, TheDistributionPlayerFactorsOutOncePerDemonstration) {
    auto counter = std::make_shared<FactorOutCounter>();
    stage.playgroundView->setPlayDelegate(counter);
    // 2x + 2y can be factored out, and 3 + 4 added.
    stage.start("2*x+2*y+3+4");
    auto player = stage.makeExecutor<DistributionExecutor>();
    player->startFindingSteps();
    EXPECT_TRUE(player->factoredOut());
    EXPECT_TRUE(stage.runUntilStopped(*player, 120));
    EXPECT_EQ(counter->factorOuts, 1);
    EXPECT_FALSE(player->factoredOut()) << "forgotten when the demonstration ends";
    EXPECT_TRUE(stage.expr()->isSimplified()) << stage.text();
}

} // namespace
} // namespace zm
