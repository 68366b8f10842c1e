#include "model/steps/StepReplace.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/Trees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(StepReplace, SeveralByOne) {
    auto root = prod({var("x"), var("x"), var("x")});
    auto cube = var("x", 3);
    StepReplace step(root->exprs(), {cube});
    EXPECT_EQ(step.applyToExpr(root, nullptr), cube);
    EXPECT_EQ(step.remakeStepFromExprIDsUsingExpr(root), nullptr);

    auto inSum = sum({num(1), prod({num(2), var("y"), var("y")})});
    auto product = std::static_pointer_cast<ExprProduct>(inSum->exprs()[1]);
    StepReplace squeeze({product->exprs()[1], product->exprs()[2]}, {var("y", 2)});
    EXPECT_EQ(squeeze.applyToExpr(inSum, nullptr), inSum);
    EXPECT_EQ(inSum->description(), "1 + 2 * y^2");
}

TEST(StepReplace, PairwiseOrNothing) {
    auto a = var("a"), b = var("b");
    auto root = sum({a, b, num(1)});
    EXPECT_EQ(StepReplace({a, b}, {num(7), num(8), num(9)}).applyToExpr(root, nullptr), root);
    EXPECT_EQ(root->description(), "a + b + 1");
    EXPECT_EQ(StepReplace({a, b}, {num(7), num(8)}).applyToExpr(root, nullptr), root);
    EXPECT_EQ(root->description(), "7 + 8 + 1");
    EXPECT_EQ(StepReplace({}, {num(1)}).applyToExpr(root, nullptr), root);
}

TEST(StepReplace, WithoutATextOfItsOwnAStepPrintsItsKind) {
    auto a = var("a");
    EXPECT_EQ(StepReplace({a}, {num(1)}).description(), "<StepReplace>");
    EXPECT_EQ(StepFail({a}).description(), "<StepFail>");
}

TEST(StepFail, ShakesEveryTermInOrder) {
    auto a = var("a"), b = var("b"), c = num(3);
    auto root = sum({a, b, c});
    RecordingBaggage bag;
    StepFail step({a, b, c});
    EXPECT_EQ(step.applyToExpr(root, &bag), root);
    EXPECT_THAT(bag.records, ElementsAre(Fail(a), Fail(b), Fail(c)));

    RecordingBaggage none;
    StepFail({}).applyToExpr(root, &none);
    EXPECT_THAT(none.records, IsEmpty());

    ExprPtr copy = root->copy();
    copy->deepCopyExprIDsFromExpr(*root);
    auto remade = std::dynamic_pointer_cast<StepFail>(step.remakeStepFromExprIDsUsingExpr(copy));
    ASSERT_NE(remade, nullptr);
    ASSERT_EQ(remade->exprs().size(), 3u);
    EXPECT_EQ(remade->exprs()[2], copy->children()[2]);
}

} // namespace
} // namespace zm
