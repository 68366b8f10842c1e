// Every rule changes the form of an expression, never its value: applied at random to random trees,
// a step keeps the value of an expression at every sampled point, and keeps an equation's solutions
// (its sides' difference or their ratio stays the same). The same step gives the same tree with and
// without a record, and leaves every tree well formed.

#include "model/steps/StepDistribute.h"
#include "model/steps/StepFactorize.h"
#include "model/testing/ValueProperty.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

TEST(ValuePreserving, BasicStepsAtRandom) {
    const Tally tally = applyAtRandom(evaluate, 20261210, 4000, basicMoves);
    EXPECT_GT(tally.applied, 1000);
    EXPECT_GT(tally.refused, 100);
}

TEST(ValuePreserving, FactorStepsAtRandom) {
    const Tally tally =
        applyAtRandom(evaluate, 4242, 4000, [](const ExprPtr& root) { return factorStepCandidates(root); });
    EXPECT_GT(tally.applied, 1000);
    EXPECT_GT(tally.refused, 100);
}

// The trial on an id copy reaches what the step reaches on its own tree.
TEST(ValuePreserving, TrialsMatchTheStep) {
    RandomTrees trees(77);
    RandomTrees choices(78);
    int compared = 0;
    for (int trial = 0; trial < 1000; ++trial) {
        ExprPtr root = trees.root(3);
        std::vector<StepPtr> steps = basicStepCandidates(root);
        for (const StepPtr& step : factorStepCandidates(root)) {
            // Flags a playground sets are not carried over to a re-targeted step.
            auto distribute = std::dynamic_pointer_cast<StepDistribute>(step);
            auto factorOut = std::dynamic_pointer_cast<StepFactorOut>(step);
            if ((distribute && distribute->reverse()) || (factorOut && !factorOut->outLeft()))
                continue;
            steps.push_back(step);
        }
        if (steps.empty())
            continue;
        const StepPtr& step = steps[choices.below(static_cast<uint32_t>(steps.size()))];
        const std::string source = root->description();
        const ExprPtr tried = applyToIdCopy(*step, *root);
        ASSERT_NE(tried, nullptr) << step->description();
        EXPECT_EQ(root->description(), source) << "the trial left the source alone";
        EXPECT_EQ(step->applyToExpr(root, nullptr)->description(), tried->description())
            << step->description();
        ++compared;
    }
    EXPECT_GT(compared, 900);
}

} // namespace
} // namespace zm
