#pragma once

// The value-preserving property of the steps, with the evaluator as a parameter: the model's own
// (testing/Evaluate.h) or the math parser's, which its tests plug in.

#include "model/steps/StepEuclideanFountain.h"
#include "model/testing/Evaluate.h"
#include "model/testing/RandomTrees.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/StepCandidates.h"
#include "model/testing/TreeInvariants.h"

#include <cmath>
#include <functional>

#include <gtest/gtest.h>

namespace zm::testing {

// The value of an expression (never an equation) at a point.
using Oracle = std::function<double(const Expr&, const Point&)>;

inline const Point kPoints[] = {{{"x", 0.73}, {"y", 1.91}},
                                {{"x", 1.37}, {"y", 0.58}},
                                {{"x", 2.29}, {"y", 1.13}},
                                {{"x", 0.91}, {"y", 2.71}}};

inline bool usable(double value) {
    return std::isfinite(value) && std::abs(value) < 1e12;
}

// Whether `after` keeps the value of `before` (or, for equations, its solutions) at every point where
// both can be evaluated.
inline ::testing::AssertionResult keepsValue(const Oracle& evaluate, const Expr& before, const Expr& after) {
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
template <class Candidates>
Tally applyAtRandom(const Oracle& evaluate, uint64_t seed, int trials, Candidates candidates) {
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
        EXPECT_TRUE(keepsValue(evaluate, *before, *after)) << step->description();

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

// The basic moves, plus an operation on both sides of an equation with a number drawn from the
// tree's own shape (so that a twin tree gets the same).
inline std::vector<StepPtr> basicMoves(const ExprPtr& root) {
    std::vector<StepPtr> steps = basicStepCandidates(root);
    if (auto equation = asExactly<ExprEquation>(root)) {
        const auto solos = root->getSolos();
        const auto type = static_cast<int32_t>(solos.size() % 3);
        auto typed = ExprSoloist::soloWithCoef(static_cast<int32_t>(solos.size() % 5) + 1,
                                               type == ArithmeticTypeAdd ? "x" : kNumVar);
        steps.push_back(std::make_shared<StepEuclideanFountain>(equation, typed, type));
    }
    return steps;
}

} // namespace zm::testing
