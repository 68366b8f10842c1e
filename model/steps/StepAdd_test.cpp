// The tap steps "+" and "*", and the trial of a step on an id copy.

#include "model/Operator.h"
#include "model/steps/StepAdd.h"
#include "model/steps/StepDistribute.h"
#include "model/steps/StepMultiply.h"
#include "model/testing/ModalProbe.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/Trees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;
using ::testing::ElementsAre;

std::shared_ptr<OpPlus> plusOf(const ExprList& list, size_t i) {
    return std::static_pointer_cast<OpPlus>(list.ops()[i]);
}
std::shared_ptr<OpTimes> timesOf(const ExprList& list, size_t i) {
    return std::static_pointer_cast<OpTimes>(list.ops()[i]);
}

TEST(StepAdd, LikeTermsBecomeOne) {
    auto a = term(2, "x");
    auto c = term(3, "x");
    auto root = sum({num(1), a, c});
    auto plus = plusOf(*root, 1);
    RecordingBaggage bag;
    ExprPtr result = StepAdd::stepAddFromOpPlus(plus)->applyToExpr(root, &bag);
    EXPECT_EQ(result, root);
    EXPECT_EQ(root->description(), "1 + 5x");
    const ExprPtr sum5x = root->exprs()[1];
    EXPECT_THAT(bag.records, ElementsAre(Position(sum5x, plus), Condemned(a, plus), Condemned(c, plus),
                                         Condemned(plus, plus), Position(root->ops()[0], root->ops()[0])));

    auto pair = sum({term(2, "x"), term(3, "x")});
    EXPECT_EQ(StepAdd::stepAddFromOpPlus(plusOf(*pair, 0))->applyToExpr(pair, nullptr)->description(), "5x");
}

TEST(StepAdd, RefusedMoveShakesBothOperandsAndAnswersTheRoot) {
    auto a = term(2, "x");
    auto c = term(3, "y");
    auto root = eq(sum({a, c}), num(4));
    RecordingBaggage bag;
    auto step = StepAdd::stepAddFromOpPlus(plusOf(*std::static_pointer_cast<ExprSum>(root->firstExpr()), 0));
    EXPECT_EQ(step->applyToExpr(root, &bag), root);
    EXPECT_EQ(root->description(), "2x + 3y = 4");
    EXPECT_THAT(bag.records, ElementsAre(Fail(a), Fail(c)));
    EXPECT_EQ(step->description(), "stepAdd(2x, 3y)");
}

TEST(StepMultiply, FactorsBecomeOne) {
    auto root = sum({prod({num(2), term(3, "x"), var("y")}), num(1)});
    auto product = std::static_pointer_cast<ExprProduct>(root->exprs()[0]);
    auto step = StepMultiply::stepMultiplyFromOpTimes(timesOf(*product, 0));
    EXPECT_EQ(step->description(), "stepMultiply(2, 3x)");
    EXPECT_EQ(step->applyToExpr(root, nullptr), root);
    EXPECT_EQ(root->description(), "6x * y + 1");

    auto refused = prod({var("x"), var("y")});
    RecordingBaggage bag;
    StepMultiply::stepMultiplyFromOpTimes(timesOf(*refused, 0))->applyToExpr(refused, &bag);
    EXPECT_THAT(bag.records, ElementsAre(Fail(refused->exprs()[0]), Fail(refused->exprs()[1])));
}

TEST(StepMultiply, ModalPlaygroundsExponentsFirstThenDistribution) {
    auto root = prod({num(2), sum({var("x"), num(3)})});
    auto step = StepMultiply::stepMultiplyFromOpTimes(timesOf(*root, 0));
    {
        ModalProbe probe;
        EXPECT_NE(step->createModalPlayground(probe), nullptr);
        EXPECT_THAT(probe.asked, ElementsAre("exponents-times"));
    }
    {
        ModalProbe probe;
        probe.declines = {"exponents-times"};
        EXPECT_NE(step->createModalPlayground(probe), nullptr);
        EXPECT_THAT(probe.asked, ElementsAre("exponents-times", "distribute"));
        ASSERT_NE(probe.distribute, nullptr);
        EXPECT_EQ(probe.distribute->distributor(), root->exprs()[0]);
    }
    auto plain = prod({num(2), var("x")});
    ModalProbe probe;
    probe.declines = {"exponents-times"};
    EXPECT_EQ(StepMultiply::stepMultiplyFromOpTimes(timesOf(*plain, 0))->createModalPlayground(probe),
              nullptr);
}

TEST(StepTrial, RetargetedStepGivesTheSameResultAndLeavesTheSourceAlone) {
    auto source = eq(sum({term(2, "x"), term(3, "x"), num(1)}), num(11));
    const std::string before = source->description();
    auto sides = std::static_pointer_cast<ExprSum>(source->firstExpr());
    auto step = StepAdd::stepAddFromOpPlus(plusOf(*sides, 0));

    ExprPtr tried = applyToIdCopy(*step, *source);
    ASSERT_NE(tried, nullptr);
    EXPECT_EQ(source->description(), before);
    EXPECT_TRUE(stepChangesExpr(*step, *source));

    ExprPtr copy = source->copy();
    copy->deepCopyExprIDsFromExpr(*source);
    auto retargeted = std::dynamic_pointer_cast<StepAdd>(step->remakeStepFromExprIDsUsingExpr(copy));
    ASSERT_NE(retargeted, nullptr);
    EXPECT_NE(retargeted->plus(), step->plus());
    EXPECT_EQ(retargeted->plus()->opId(), step->plus()->opId());

    RecordingBaggage bag;
    EXPECT_EQ(step->applyToExpr(source, &bag)->description(), tried->description());
    EXPECT_EQ(tried->description(), "5x + 1 = 11");

    auto refused = sum({var("x"), var("y")});
    EXPECT_FALSE(stepChangesExpr(*StepAdd::stepAddFromOpPlus(plusOf(*refused, 0)), *refused));
}

TEST(StepTrial, RemadeTapStepsFindOnlyTheirOwnKindOfOperator) {
    // Every "=" has id 0, which no counted operator gets; one given it by hand must still not pick up
    // the "=" when remade.
    auto root = eq(sum({var("x"), num(1)}), num(5));
    auto stray = std::make_shared<OpPlus>(num(1), num(2));
    stray->setOpId(0);
    EXPECT_EQ(StepAdd::stepAddFromOpPlus(stray)->remakeStepFromExprIDsUsingExpr(root), nullptr);
    auto strayTimes = std::make_shared<OpTimes>(num(1), num(2));
    strayTimes->setOpId(0);
    EXPECT_EQ(StepMultiply::stepMultiplyFromOpTimes(strayTimes)->remakeStepFromExprIDsUsingExpr(root),
              nullptr);
}

} // namespace
} // namespace zm
