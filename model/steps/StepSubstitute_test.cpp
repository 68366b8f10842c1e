#include "model/steps/StepSubstitute.h"
#include "model/testing/ModalProbe.h"
#include "model/testing/Trees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(StepSubstituteInput, OpensTheExponentsPlaygroundOnlyForAPower) {
    auto plain = var("x");
    auto root = sum({plain, num(1)});
    ModalProbe probe;
    StepSubstituteInput step(plain);
    EXPECT_EQ(step.createModalPlayground(probe), nullptr);
    EXPECT_THAT(probe.asked, IsEmpty());
    EXPECT_EQ(step.applyToExpr(root, nullptr), root);
    EXPECT_EQ(root->description(), "x + 1");

    StepSubstituteInput power(var("x", 2));
    EXPECT_NE(power.createModalPlayground(probe), nullptr);
    EXPECT_THAT(probe.asked, ElementsAre("exponents-solo"));
}

TEST(StepSubstituteVar, EveryTermOfTheVariable) {
    auto root = eq(sum({term(2, "x"), var("y")}), var("x"));
    auto replacement = sum({var("y"), num(1)});
    StepSubstituteVar step("x", replacement);
    EXPECT_EQ(step.applyToExpr(root, nullptr), root);
    EXPECT_EQ(root->description(), "2 * (y + 1) + y = y + 1");
    EXPECT_EQ(replacement->exprParent(), nullptr);

    auto other = eq(var("x"), num(3));
    auto remade = std::dynamic_pointer_cast<StepSubstituteVar>(step.remakeStepFromExprIDsUsingExpr(other));
    ASSERT_NE(remade, nullptr);
    EXPECT_EQ(remade->replacement(), replacement);
    remade->applyToExpr(other, nullptr);
    EXPECT_EQ(other->description(), "y + 1 = 3");
}

} // namespace
} // namespace zm
