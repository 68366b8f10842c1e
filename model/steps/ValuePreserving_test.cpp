// Every rule changes the form of an expression, never its value: applied at random to random trees,
// a step keeps the value of an expression at every sampled point, and keeps an equation's solutions
// (its sides' difference or their ratio stays the same). The same step gives the same tree with and
// without a record, and leaves every tree well formed.

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

TEST(ValuePreserving, BasicStepsAtRandom) {
    RandomTrees random(20261210);
    int applied = 0, refused = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        ExprPtr root = random.root(3);
        std::vector<StepPtr> candidates = basicStepCandidates(root);
        if (isExactly<ExprEquation>(root)) {
            const int32_t type = static_cast<int32_t>(random.below(3));
            auto typed = random.term(true);
            if (type != ArithmeticTypeAdd)
                typed->setVar(kNumVar);
            candidates.push_back(std::make_shared<StepEuclideanFountain>(
                std::static_pointer_cast<ExprEquation>(root), typed, type));
        }
        if (candidates.empty())
            continue;
        const StepPtr step = candidates[random.below(static_cast<uint32_t>(candidates.size()))];
        const ExprPtr before = root->copy();
        const ExprPtr tried = applyToIdCopy(*step, *root);

        RecordingBaggage bag;
        const ExprPtr after = step->applyToExpr(root, &bag);
        ASSERT_NE(after, nullptr) << before->description();
        ASSERT_EQ(treeFault(*after), "") << before->description() << " with " << step->description();
        if (tried) {
            EXPECT_EQ(tried->description(), after->description()) << "with and without a record";
        }
        EXPECT_TRUE(keepsValue(*before, *after)) << step->description();

        const bool failed = std::any_of(bag.records.begin(), bag.records.end(),
                                        [](const Record& r) { return r.kind == Record::Kind::Fail; });
        if (failed) {
            ++refused;
            EXPECT_TRUE(after->isExactMatch(*before)) << "a refused step changed " << before->description();
        } else {
            ++applied;
        }
    }
    EXPECT_GT(applied, 1000);
    EXPECT_GT(refused, 100);
}

} // namespace
} // namespace zm
