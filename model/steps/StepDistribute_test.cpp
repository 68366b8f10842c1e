#include "model/Operator.h"
#include "model/steps/StepDistribute.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/Trees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::shared_ptr<OpTimes> timesOf(const ExprList& list, size_t i) {
    return std::static_pointer_cast<OpTimes>(list.ops()[i]);
}

TEST(StepDistribute, AFactorIntoEveryTerm) {
    auto x = var("x");
    auto three = num(3);
    auto inner = sum({x, three});
    auto root = prod({num(2), inner});
    auto step = StepDistribute::stepDistributeFromTimes(timesOf(*root, 0));
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->distCopies().size(), 2u);
    EXPECT_EQ(step->opCopies().size(), 2u);
    EXPECT_EQ(step->opCopies()[0]->opId(), 0);
    EXPECT_EQ(step->prodParent(), root);
    EXPECT_EQ(step->description(), "stepDistribute(2, x + 3)");

    RecordingBaggage bag;
    auto result = std::dynamic_pointer_cast<ExprSum>(step->applyToExpr(root, &bag));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->description(), "2 * x + 2 * 3");
    auto first = std::static_pointer_cast<ExprProduct>(result->exprs()[0]);
    auto second = std::static_pointer_cast<ExprProduct>(result->exprs()[1]);
    EXPECT_EQ(first->exprs()[0], step->distCopies()[0]);
    EXPECT_THAT(bag.records,
                ElementsAre(Position(step->distCopies()[0], step->distCopies()[0]),
                            Position(first->exprs()[1], x), Position(first->ops()[0], step->distCopies()[0]),
                            Position(step->distCopies()[1], step->distCopies()[1]),
                            Position(second->exprs()[1], three),
                            Position(second->ops()[0], step->distCopies()[1]),
                            Position(result->ops()[0], inner->ops()[0])));
}

TEST(StepDistribute, ReverseWritesTermTimesCopy) {
    auto root = prod({sum({var("x"), num(3), var("y")}), num(2)});
    auto step = StepDistribute::stepDistributeFromTimes(timesOf(*root, 0));
    step->setReverse(true);
    const ExprPtr firstCopy = step->distCopies()[0];
    auto result = std::static_pointer_cast<ExprSum>(step->applyToExpr(root, nullptr));
    EXPECT_EQ(result->description(), "x * 2 + 3 * 2 + y * 2");
    EXPECT_EQ(std::static_pointer_cast<ExprProduct>(result->exprs()[2])->exprs()[1], firstCopy)
        << "copy 0 goes with the last term";
}

TEST(StepDistribute, InsideALongerProductAndBetweenTwoSums) {
    auto b = var("b");
    auto root = prod({var("a"), b, sum({var("x"), var("y")})});
    auto step = StepDistribute::stepDistributeFromTimes(timesOf(*root, 1));
    EXPECT_EQ(step->distributor(), b);
    EXPECT_EQ(step->applyToExpr(root, nullptr)->description(), "a * (b * x + b * y)");

    auto sums = prod({sum({var("a"), var("b")}), sum({var("x"), var("y")})});
    auto both = StepDistribute::stepDistributeFromTimes(timesOf(*sums, 0));
    EXPECT_EQ(both->intoSum(), sums->exprs()[1]);
    EXPECT_EQ(both->applyToExpr(sums, nullptr)->description(), "(a + b) * x + (a + b) * y");

    EXPECT_EQ(StepDistribute::stepDistributeFromTimes(timesOf(*prod({num(2), var("x")}), 0)), nullptr);
}

TEST(StepDistribute, NothingUnlessFactorAndSumShareAProduct) {
    auto loose = var("z");
    auto inner = sum({var("x"), num(1)});
    auto root = sum({loose, prod({num(2), inner})});
    StepDistribute step(loose, inner);
    EXPECT_EQ(step.prodParent(), nullptr);
    RecordingBaggage bag;
    EXPECT_EQ(step.applyToExpr(root, &bag), root);
    EXPECT_EQ(root->description(), "z + 2 * (x + 1)");
    EXPECT_THAT(bag.records, IsEmpty());
}

TEST(StepDistribute, RemadeWithNewCopiesAndNoReverse) {
    auto root = prod({num(2), sum({var("x"), num(3)})});
    auto step = StepDistribute::stepDistributeFromTimes(timesOf(*root, 0));
    step->setReverse(true);
    ExprPtr copy = root->copy();
    copy->deepCopyExprIDsFromExpr(*root);
    auto remade = std::dynamic_pointer_cast<StepDistribute>(step->remakeStepFromExprIDsUsingExpr(copy));
    ASSERT_NE(remade, nullptr);
    EXPECT_FALSE(remade->reverse());
    EXPECT_NE(remade->distCopies()[0], step->distCopies()[0]);
    EXPECT_EQ(remade->applyToExpr(copy, nullptr)->description(), "2 * x + 2 * 3");
    EXPECT_EQ(root->description(), "2 * (x + 3)");
}

TEST(OneDividesTheOther, Table) {
    EXPECT_TRUE(oneDividesTheOther(6, 3));
    EXPECT_TRUE(oneDividesTheOther(3, 6));
    EXPECT_TRUE(oneDividesTheOther(4, 4));
    EXPECT_FALSE(oneDividesTheOther(6, 4));
    EXPECT_FALSE(oneDividesTheOther(4, 6));
    EXPECT_TRUE(oneDividesTheOther(0, 0));
    EXPECT_FALSE(oneDividesTheOther(5, 0)) << "no division by zero";
    EXPECT_FALSE(oneDividesTheOther(0, 5));
    EXPECT_FALSE(oneDividesTheOther(-2147483647 - 1, -1))
        << "the smaller divides the larger: INT_MIN into -1";
}

} // namespace
} // namespace zm
