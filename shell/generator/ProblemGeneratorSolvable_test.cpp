// Every problem the progress store can pose is solved by the model's own steps: the next-step
// solver finds a path of steps to a simplified expression within its bound, and factor steps split
// a factors problem until it is factorised.

#include "model/solver/SolverNode.h"
#include "shell/generator/ProblemGenerator.h"
#include "shell/generator/testing/GeneratorTesting.h"
#include "shell/generator/testing/PosedProblems.h"

namespace zm {
namespace {

using namespace zm::testing;

// Far more splits than any factors problem needs.
constexpr int kMaximumMoves = 40;

// Splits with the first factor step there is, again and again: the factors reach the goal.
bool factorSplitsReachGoal(ExprPtr expr) {
    for (int moves = 0; moves <= kMaximumMoves; ++moves) {
        if (expr->isFactorized())
            return true;
        const std::vector<StepPtr> steps = SolverNode(expr).factorizeSteps();
        if (steps.empty())
            return false;
        expr = steps.front()->applyToExpr(expr, nullptr);
    }
    return false;
}

// A sample of seeds for every generator; bench/solver_bench sweeps a thousand seeds of each.
TEST(SolvableProblems, EveryPosedProblemIsSolvedByTheModelsSteps) {
    for (const PosedGenerator& generator : kPosedGenerators) {
        SCOPED_TRACE(generator.name);
        forEachSeed(
            [&](uint64_t) {
                ExprPtr problem = generator.generate();
                const std::string text = problem->description();
                EXPECT_TRUE(generator.factors ? factorSplitsReachGoal(problem)
                                              : SolverNode::findNextStepForExpr(problem) != nullptr)
                    << text;
            },
            30);
    }
}

} // namespace
} // namespace zm
