// Each topic's player demonstrates problems like those the game poses for its topic, through the
// playground's own touch handling, until the topic's goal is reached. (On a phone: a smaller screen
// to draw at every frame.)

#include "platform/core/Random.h"
#include "playground/PlaygroundExponents.h"
#include "playground/executors/AIExecutor.h"
#include "playground/executors/ExecutorRegistry.h"
#include "playground/executors/ExponentExecutor.h"
#include "playground/executors/TouchCircleView.h"
#include "playground/executors/testing/ExecutorStage.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

enum class Goal { Simplified, Factorized };

struct Demonstration {
    const char* topic;
    const char* executor;
    Goal goal;
    std::vector<const char*> problems;
};

std::ostream& operator<<(std::ostream& out, const Demonstration& demonstration) {
    return out << demonstration.topic << " by " << demonstration.executor;
}

// Problems as the generator makes them for each topic, written out.
const Demonstration kDemonstrations[] = {
    // Simplify: additions, negatives, multiplications.
    {"Simplify", "MoveAndTapExecutor", Goal::Simplified, {"3+5+8", "7+-2+4+-6", "2*3*5"}},
    // Like terms, and the novice exponents' like powers.
    {"LikeTerms",
     "MoveAndTapExecutor",
     Goal::Simplified,
     {"1+5x+3+x", "3y+2+4y", "2x+5+-x+3+4x", "4a^3+2a+5a^2+a^3+3a^2"}},
    // Multiply then add.
    {"OrderOfOperations", "MoveAndTapExecutor", Goal::Simplified, {"2+3*4", "5*2+3*4", "6+2*7+1"}},
    // Isolating the variable, and linear equations with it on both sides.
    {"Equations",
     "EquationExecutor",
     Goal::Simplified,
     {"x+5=12", "9=4+z", "y*5=7", "x/4=9", "3x+4=19", "2y+7=5y+10"}},
    // Cancelling equal factors; numbers sharing a factor are split through the factor pairs first; sums
    // are added up first.
    {"Elimination",
     "EliminationExecutor",
     Goal::Simplified,
     {"(5*7)/5", "6/6", "3/(3*4)", "(4*9)/(4*5)", "(5*7*2)/5", "12/8", "7/14", "(6+6)/8", "12/(4+4)"}},
    // Factor pairs, through the factor-pair playground where a number has several.
    {"Factors", "FactorizeExecutor", Goal::Factorized, {"91", "6", "-24x", "36", "64y", "5040"}},
    // A factor times a sum, alone or in an equation.
    {"Distribution",
     "DistributionExecutor",
     Goal::Simplified,
     {"3*(2+x)", "(x+5)*-2", "x*(3+4)", "4*(x+-3)=20"}},
    // The master problems: the variable on both sides, a common factor to take out, three terms in the
    // sum, two sums multiplied.
    {"MasterDistribution",
     "DistributionExecutor",
     Goal::Simplified,
     {"3*(x+2)=5+4x", "(3*4+6x)/3=7", "2*(x+3+4)=18", "(x+2)*(3+4)"}},
    // Products and fractions of powers, worked in the exponents playground.
    {"MasterExponents", "ExponentExecutor", Goal::Simplified, {"x^3*x^5", "x^2*x^4", "x^7/x^3", "x^4/x^6"}},
};

// A player on a problem, run until it stops (at most `limit` seconds).
struct PlayerRun {
    PlayerRun(const char* executor, const std::string& problem, double limit = 60)
        : stage(ui::Idiom::Phone) {
        stage.start(problem);
        player = makeExecutor(executor, stage.playgroundView, stage.restingView, stage.container);
        stage.playgroundView->setExecutor(player);
        player->startFindingSteps();
        stopped = stage.runUntilStopped(*player, limit);
    }
    ExecutorStage stage;
    std::shared_ptr<AIExecutor> player;
    bool stopped = false;
};

class TopicExecutorDemonstration : public ::testing::TestWithParam<Demonstration> {};

TEST_P(TopicExecutorDemonstration, SolvesGeneratedLikeProblemsWithinABoundedNumberOfMoves) {
    const Demonstration& demonstration = GetParam();
    for (const char* problem : demonstration.problems) {
        for (uint64_t seed = 1; seed <= 2; ++seed) {
            SCOPED_TRACE(std::string(problem) + ", seed " + std::to_string(seed));
            core::ScopedRandomSource draws(core::makeSeededRandom(seed));
            PlayerRun run(demonstration.executor, problem, 200);
            EXPECT_TRUE(run.stopped) << "still playing on " << run.stage.text();
            const ExprPtr expr = run.stage.expr();
            const bool solved =
                demonstration.goal == Goal::Factorized ? expr->isFactorized() : expr->isSimplified();
            EXPECT_TRUE(solved) << run.stage.text();
            EXPECT_LE(run.stage.moves(), 40) << run.stage.text();
            run.stage.host.advance(1.1);
            EXPECT_EQ(run.player->indicatorView()->superview(), nullptr) << "the finger went home";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Topics, TopicExecutorDemonstration, ::testing::ValuesIn(kDemonstrations),
                         [](const auto& info) { return std::string(info.param.topic); });

TEST(MoveAndTapExecutor, StopsWhenItHasNoUsefulTapAndNothingToCommute) {
    // A fraction to reduce: no "+" or "*", and no list to rearrange.
    PlayerRun run("MoveAndTapExecutor", "4/6", 10);
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(run.stage.moves(), 0);
}

TEST(EliminationExecutor, WithoutAFractionItOnlyAddsAndMultiplies) {
    PlayerRun run("EliminationExecutor", "7*2*3");
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(run.stage.text(), "42");
}

TEST(CancelExecutor, StopsAsSoonAsItStarts) {
    PlayerRun run("CancelExecutor", "1+2", 0);
    EXPECT_TRUE(run.stopped);
    run.stage.host.advance(5);
    EXPECT_EQ(run.stage.text(), "1 + 2");
    EXPECT_EQ(run.player->indicatorView()->superview(), nullptr);
}

TEST(ExponentExecutor, SplitsTheLargerPowerSoThatItsRightPartCancelsTheSmallerOne) {
    ExecutorStage stage(ui::Idiom::Phone);
    stage.start("x^5/x^3");
    auto player = stage.makeExecutor<ExponentExecutor>();
    player->startFindingSteps();
    EXPECT_EQ(player->rightGoal(), 3);
    EXPECT_EQ(player->leftGoal(), 2);
    // Nudged until the row reads x^2 * x^3, then lifted there.
    while (!player->letGo() && stage.host.now() < 1100)
        stage.host.advance(0.05);
    ASSERT_TRUE(player->letGo());
    auto row = std::dynamic_pointer_cast<PlaygroundExponents>(stage.playgroundView->modalPlayground());
    ASSERT_TRUE(row);
    EXPECT_EQ(row->leftExponentNumber(), 2);
    EXPECT_EQ(row->rightExponentNumber(), 3);
    EXPECT_TRUE(stage.runUntilStopped(*player, 60));
    EXPECT_EQ(stage.text(), "x^2");
}

TEST(ExponentExecutor, StopsAtOnceOnAFractionOfEqualPowers) {
    PlayerRun run("ExponentExecutor", "x^3/x^3", 0);
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(run.stage.moves(), 0);
}

TEST(ExecutorRegistry, MakesThePlayersByTheirClassNames) {
    ExecutorStage stage(ui::Idiom::Phone);
    for (const char* name :
         {"MoveAndTapExecutor", "FactorizeExecutor", "EliminationExecutor", "EquationExecutor",
          "DistributionExecutor", "CancelExecutor", "IntroMixTapExecutor", "IntroEliminateExecutor",
          "IntroFaultyAdder", "IntroFaultyEliminator"}) {
        auto player = makeExecutor(name, stage.playgroundView, nullptr, stage.container);
        EXPECT_TRUE(player) << name;
        EXPECT_EQ(player ? player->playgroundView() : nullptr, stage.playgroundView);
    }
    EXPECT_FALSE(makeExecutor("NoSuchExecutor", stage.playgroundView, nullptr, stage.container));
}

} // namespace
} // namespace zm
