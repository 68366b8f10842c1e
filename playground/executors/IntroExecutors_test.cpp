// The tutorial's players repeat their demonstration for as long as their slide shows it.

#include "playground/executors/IntroEliminateExecutor.h"
#include "playground/executors/IntroFaultyAdder.h"
#include "playground/executors/IntroFaultyEliminator.h"
#include "playground/executors/IntroMixTapExecutor.h"
#include "playground/executors/TouchCircleView.h"
#include "playground/executors/testing/ExecutorStage.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

class IntroExecutorTest : public ::testing::Test {
protected:
    // A demonstration card: the problem in display-only mode and the player started on it, without a
    // resting view.
    template <class T> std::shared_ptr<T> demonstrate(const std::string& problem) {
        stage.start(problem);
        stage.playgroundView->activateDisplayOnlyMode();
        auto executor = stage.makeExecutor<T>(false);
        executor->startFindingSteps();
        return executor;
    }

    // The expressions shown over `seconds`, each once when it appears.
    std::vector<std::string> shownOver(double seconds) {
        std::vector<std::string> shown{stage.text()};
        for (double elapsed = 0; elapsed < seconds; elapsed += 0.1) {
            stage.host.advance(0.1);
            if (stage.text() != shown.back())
                shown.push_back(stage.text());
        }
        return shown;
    }

    ExecutorStage stage{ui::Idiom::Phone};
};

TEST_F(IntroExecutorTest, MixTapCommutesMultipliesAndSplitsOverAndOver) {
    auto executor = demonstrate<IntroMixTapExecutor>("3*x");
    const std::vector<std::string> shown = shownOver(30);
    ASSERT_GE(shown.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 7),
              (std::vector<std::string>{"3 * x", "x * 3", "3x", "3 * x", "x * 3", "3x", "3 * x"}));
    EXPECT_TRUE(executor->operational());
    EXPECT_EQ(stage.delegate->count("didErrorStep"), 0);
}

TEST_F(IntroExecutorTest, EliminateCancelsThenPutsTheFractionBackAndCancelsAgain) {
    auto executor = demonstrate<IntroEliminateExecutor>("(5*2)/2");
    const std::string fraction = stage.text();
    const std::vector<std::string> shown = shownOver(30);
    ASSERT_GE(shown.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 5),
              (std::vector<std::string>{fraction, "5", fraction, "5", fraction}));
    EXPECT_FALSE(stage.playgroundView->isUserInteractionEnabled()) << "put back in display-only mode";
    EXPECT_TRUE(executor->operational());
}

TEST_F(IntroExecutorTest, TheFingerRestsASecondAtTheEndOfTheLineBeforeItLifts) {
    auto executor = demonstrate<IntroEliminateExecutor>("(5*2)/2");
    const TouchCircleView& finger = *executor->indicatorView();
    constexpr double kTick = 0.01;
    while (!finger.touchedDown())
        stage.host.advance(kTick);
    core::Point last = finger.center();
    double lastMove = stage.host.now();
    while (finger.touchedDown()) {
        stage.host.advance(kTick);
        if (finger.center() != last) {
            last = finger.center();
            lastMove = stage.host.now();
        }
    }
    EXPECT_NEAR(stage.host.now() - lastMove, 1.0, 0.05);
    EXPECT_EQ(stage.text(), "5") << "the line was taken at the lift";
}

TEST_F(IntroExecutorTest, TheFaultyPlayersRepeatARefusedMoveAndNothingChanges) {
    {
        auto adder = demonstrate<IntroFaultyAdder>("1+2*3");
        const std::vector<std::string> shown = shownOver(20);
        EXPECT_EQ(shown, std::vector<std::string>{"1 + 2 * 3"});
        EXPECT_GE(stage.delegate->count("didErrorStep"), 5) << "a tap every 3.25 s, each refused";
        EXPECT_TRUE(adder->operational());
        adder->cancelAnimations();
    }
    stage.delegate->messages.clear();
    auto eliminator = demonstrate<IntroFaultyEliminator>("(5*2)/2");
    const std::string fraction = stage.text();
    EXPECT_EQ(shownOver(20), std::vector<std::string>{fraction});
    EXPECT_GE(stage.delegate->count("didErrorStep"), 3) << "a line from the 5 to the 2 below, refused";
    EXPECT_TRUE(eliminator->operational());
}

TEST_F(IntroExecutorTest, APlayerWithNothingToPlayWaitsUntilItIsCancelled) {
    auto adder = demonstrate<IntroFaultyAdder>("2*3");
    EXPECT_EQ(shownOver(10), std::vector<std::string>{"2 * 3"});
    EXPECT_TRUE(adder->operational());
    adder->cancelAnimations();
    EXPECT_EQ(adder->indicatorView()->superview(), nullptr) << "gone at once without a resting view";
}

} // namespace
} // namespace zm
