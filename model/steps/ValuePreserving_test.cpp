// Every rule changes the form of an expression, never its value: applied at random to random trees,
// a step keeps the value of an expression at every sampled point, and keeps an equation's solutions
// (its sides' difference or their ratio stays the same). The same step gives the same tree with and
// without a record, and leaves every tree well formed.

#include "model/steps/StepDistribute.h"
#include "model/steps/StepFactorize.h"
#include "model/testing/Evaluate.h"
#include "model/testing/RandomTrees.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/StepCandidates.h"
#include "model/testing/TreeInvariants.h"

#include <cmath>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

const Point kPoints[] = {{{"x", 0.73}, {"y", 1.91}},
                         {{"x", 1.37}, {"y", 0.58}},
                         {{"x", 2.29}, {"y", 1.13}},
                         {{"x", 0.91}, {"y", 2.71}}};

bool usable(double value) {
    return std::isfinite(value) && std::abs(value) < 1e12;
}

// Whether `after` keeps the value of `before` (or, for equations, its solutions) at every point where
// both can be evaluated.
::testing::AssertionResult keepsValue(const Expr& before, const Expr& after) {
    auto* equationBefore = dynamic_cast<const ExprEquation*>(&before);
    auto* equationAfter = dynamic_cast<const ExprEquation*>(&after);
    if (!equationBefore) {
        for (const Point& point : kPoints) {
            const double a = evaluate(before, point), b = evaluate(after, point);
            if (usable(a) && usable(b) && !nearlyEqual(a, b))
                return ::testing::AssertionFailure()
                       << before.description() << " became " << after.description();
        }
        return ::testing::AssertionSuccess();
    }
    if (!equationAfter)
        return ::testing::AssertionFailure() << "an equation became " << after.description();
    bool differenceKept = true, ratioKept = true;
    for (const Point& point : kPoints) {
        const double lb = evaluate(*equationBefore->firstExpr(), point),
                     rb = evaluate(*equationBefore->secondExpr(), point);
        const double la = evaluate(*equationAfter->firstExpr(), point),
                     ra = evaluate(*equationAfter->secondExpr(), point);
        if (!usable(lb) || !usable(rb) || !usable(la) || !usable(ra))
            continue;
        differenceKept = differenceKept && nearlyEqual(lb - rb, la - ra);
        // Over a zero side, scaling the other side keeps the solutions when it keeps its zeros.
        const bool zeroSides = nearlyEqual(rb, 0) && nearlyEqual(ra, 0);
        const bool scaled = zeroSides
                                ? nearlyEqual(lb, 0) == nearlyEqual(la, 0)
                                : !nearlyEqual(rb, 0) && !nearlyEqual(ra, 0) && nearlyEqual(lb / rb, la / ra);
        ratioKept = ratioKept && scaled;
    }
    if (differenceKept || ratioKept)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << before.description() << " became " << after.description();
}

struct Tally {
    int applied = 0;
    int refused = 0;
};

// Applies one of the steps that `candidates` makes for a random tree, `trials` times, and checks
// every property on each. A twin tree from the same seed takes the same step without a record.
template <class Candidates> Tally applyAtRandom(uint64_t seed, int trials, Candidates candidates) {
    RandomTrees trees(seed), twins(seed), choices(seed + 1);
    Tally tally;
    for (int trial = 0; trial < trials; ++trial) {
        ExprPtr root = trees.root(3);
        ExprPtr twin = twins.root(3);
        std::vector<StepPtr> steps = candidates(root);
        std::vector<StepPtr> twinSteps = candidates(twin);
        if (steps.empty() || steps.size() != twinSteps.size()) {
            EXPECT_EQ(steps.size(), twinSteps.size());
            continue;
        }
        const size_t pick = choices.below(static_cast<uint32_t>(steps.size()));
        const StepPtr& step = steps[pick];
        const ExprPtr before = root->copy();

        RecordingBaggage bag;
        const ExprPtr after = step->applyToExpr(root, &bag);
        if (!after) {
            ADD_FAILURE() << "no tree after " << step->description() << " on " << before->description();
            continue;
        }
        EXPECT_EQ(treeFault(*after), "") << before->description() << " with " << step->description();
        EXPECT_EQ(twinSteps[pick]->applyToExpr(twin, nullptr)->description(), after->description())
            << "with and without a record";
        EXPECT_TRUE(keepsValue(*before, *after)) << step->description();

        const bool failed = std::any_of(bag.records.begin(), bag.records.end(),
                                        [](const Record& r) { return r.kind == Record::Kind::Fail; });
        if (failed) {
            ++tally.refused;
            EXPECT_TRUE(after->isExactMatch(*before)) << "a refused step changed " << before->description();
        } else {
            ++tally.applied;
        }
    }
    return tally;
}

TEST(ValuePreserving, BasicStepsAtRandom) {
    const Tally tally = applyAtRandom(20261210, 4000, [](const ExprPtr& root) {
        std::vector<StepPtr> steps = basicStepCandidates(root);
        if (auto equation = asExactly<ExprEquation>(root)) {
            // Both sides, with a number drawn from the tree's own shape so that the twin gets the same.
            const auto solos = root->getSolos();
            const auto type = static_cast<int32_t>(solos.size() % 3);
            auto typed = ExprSoloist::soloWithCoef(static_cast<int32_t>(solos.size() % 5) + 1,
                                                   type == ArithmeticTypeAdd ? "x" : kNumVar);
            steps.push_back(std::make_shared<StepEuclideanFountain>(equation, typed, type));
        }
        return steps;
    });
    EXPECT_GT(tally.applied, 1000);
    EXPECT_GT(tally.refused, 100);
}

TEST(ValuePreserving, FactorStepsAtRandom) {
    const Tally tally =
        applyAtRandom(4242, 4000, [](const ExprPtr& root) { return factorStepCandidates(root); });
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
