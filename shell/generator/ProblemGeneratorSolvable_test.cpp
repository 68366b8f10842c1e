// Every problem the progress store can pose is solved by the model's own steps: the next-step
// solver's search finds a path of steps to a simplified expression, and factor steps split a
// factors problem until it is factorised.

#include "model/solver/SolverNode.h"
#include "shell/generator/ProblemGenerator.h"
#include "shell/generator/testing/GeneratorTesting.h"

namespace zm {
namespace {

using namespace zm::testing;

// Far more splits than any factors problem needs.
constexpr int kMaximumMoves = 40;

// Whether the solver's search, within its usual budget of expanded nodes, reaches a simplified
// expression: a path of steps from the problem to its goal.
bool searchFindsSimplified(const ExprPtr& expr) {
    SolverSearch search(expr);
    for (;;) {
        const SolverSearch::Outcome outcome = search.expandNext();
        if (outcome != SolverSearch::Outcome::Expanded)
            return outcome == SolverSearch::Outcome::Found;
        if (search.expansions() >= SolverNode::kMaxExpansions)
            return false;
    }
}

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

struct Reachable {
    const char* name;
    ExprPtr (*generate)();
    bool factors;
};

// The generators the progress store sends, by topic and difficulty. The master exponents problems
// (x^a * x^b, x^a / x^b) are not among them: a tap on their operator opens the exponents playground,
// which does the work that no step of the model does alone.
const Reachable kReachable[] = {
    {"getSimplifyAddition", ProblemGenerator::getSimplifyAddition, false},
    {"getSimplifyNegatives", ProblemGenerator::getSimplifyNegatives, false},
    {"getSimplifyMultiplication", ProblemGenerator::getSimplifyMultiplication, false},
    {"getSimplifyLikeTerms3Elements", ProblemGenerator::getSimplifyLikeTerms3Elements, false},
    {"getSimplifyLikeTerms4Elements", ProblemGenerator::getSimplifyLikeTerms4Elements, false},
    {"getSimplifyLikeTerms5Elements", ProblemGenerator::getSimplifyLikeTerms5Elements, false},
    {"getSimplifyOrderOfOperations", ProblemGenerator::getSimplifyOrderOfOperations, false},
    {"getSimplifyOrderOfOperations2Elements", ProblemGenerator::getSimplifyOrderOfOperations2Elements, false},
    {"getFactorizePairs", ProblemGenerator::getFactorizePairs, true},
    {"getFactorizeReplacement", ProblemGenerator::getFactorizeReplacement, true},
    {"getEliminateEqualsOne", ProblemGenerator::getEliminateEqualsOne, false},
    {"getEliminateCrossOut", ProblemGenerator::getEliminateCrossOut, false},
    {"getEliminateDivision", ProblemGenerator::getEliminateDivision, false},
    {"getEliminateProductsOnly", ProblemGenerator::getEliminateProductsOnly, false},
    {"getSolveIsolate", ProblemGenerator::getSolveIsolate, false},
    {"getSolveAdvanced", ProblemGenerator::getSolveAdvanced, false},
    {"getDistribution", ProblemGenerator::getDistribution, false},
    {"getDistAdvanced", ProblemGenerator::getDistAdvanced, false},
    {"getExponentLikeTerms", ProblemGenerator::getExponentLikeTerms, false},
};

TEST(SolvableProblems, EveryPosedProblemIsSolvedByTheModelsSteps) {
    for (const Reachable& generator : kReachable) {
        SCOPED_TRACE(generator.name);
        forEachSeed(
            [&](uint64_t) {
                ExprPtr problem = generator.generate();
                const std::string text = problem->description();
                EXPECT_TRUE(generator.factors ? factorSplitsReachGoal(problem)
                                              : searchFindsSimplified(problem))
                    << text;
            },
            30);
    }
}

} // namespace
} // namespace zm
