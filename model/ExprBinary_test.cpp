#include "model/ExprBinary.h"
#include "model/Operator.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/Trees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ExprBinaryOperator, EqualsIsBareTheBarKeepsItsOperands) {
    auto equation = eq(var("x"), num(5));
    EXPECT_EQ(equation->op()->opId(), 0);
    EXPECT_EQ(equation->op()->firstExpr(), nullptr);

    auto numerator = var("x");
    auto denominator = num(2);
    auto fraction = quot(numerator, denominator);
    EXPECT_EQ(fraction->op()->firstExpr(), numerator);
    EXPECT_EQ(fraction->op()->secondExpr(), denominator);
    const int32_t before = std::make_shared<OpPlus>(num(0), num(0))->opId();
    EXPECT_EQ(quot(num(1), num(2))->op()->opId(), before + 1);

    fraction->replaceExpr(numerator, var("y"), nullptr);
    EXPECT_EQ(fraction->op()->firstExpr(), numerator);
    EXPECT_EQ(fraction->firstExpr()->exprParent(), fraction);
    EXPECT_EQ(quot(nullptr, num(1)), nullptr);
}

TEST(ExprEquationKill, AWholeSideBecomesZero) {
    auto five = num(5);
    auto x = var("x");
    auto left = sum({x, num(1)});
    auto equation = eq(left, five);
    RecordingBaggage bag;
    EXPECT_EQ(equation->killExpr(five, &bag), equation);
    EXPECT_EQ(equation->description(), "x + 1 = 0");
    EXPECT_THAT(bag.records, ElementsAre(Position(equation->secondExpr(), five)));

    EXPECT_EQ(equation->killExpr(x, nullptr), equation);
    EXPECT_EQ(equation->description(), "1 = 0");
    EXPECT_EQ(equation->firstExpr()->exprParent(), equation);
}

TEST(ExprQuotientKill, ADenominatorGoneLeavesTheNumerator) {
    auto x = var("x");
    auto two = num(2);
    auto fraction = quot(x, two);
    auto list = sum({fraction, num(1)});
    EXPECT_EQ(fraction->killExpr(two, nullptr), x);
    EXPECT_EQ(x->exprParent(), list);
    EXPECT_TRUE(ExprQuotient::isExprInDenom(two.get()));
    EXPECT_FALSE(ExprQuotient::isExprInDenom(x.get()) && x->exprParent() == fraction);
    EXPECT_EQ(fraction->getSimplifiedExpr(), fraction);
}

TEST(ExprQuotientAdd, OverEquivalentDenominators) {
    auto left = quot(var("x"), num(2));
    auto rightDenominator = num(2);
    auto right = quot(num(3), rightDenominator);
    auto list = sum({left, right});
    auto plus = std::static_pointer_cast<OpPlus>(list->ops()[0]);
    RecordingBaggage bag;
    ExprPtr result = left->addExpr(right, plus, &bag);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->description(), "(x + 3) / 2");
    auto fraction = std::static_pointer_cast<ExprQuotient>(result);
    auto numerator = std::static_pointer_cast<ExprSum>(fraction->firstExpr());
    EXPECT_THAT(bag.records,
                ElementsAre(Position(numerator->ops().back(), plus), Position(fraction->op(), left->op()),
                            Condemned(rightDenominator, fraction->op())));

    EXPECT_EQ(quot(var("x"), num(2))->addExpr(quot(num(3), num(4)), nullptr, nullptr), nullptr);
    EXPECT_EQ(quot(var("x"), num(2))->addExpr(num(3), nullptr, nullptr), nullptr);
    EXPECT_EQ(quot(var("x"), num(2))->addExpr(num(0), nullptr, nullptr), nullptr);
    // Unequal sums are not equal denominators.
    EXPECT_EQ(quot(num(1), sum({var("x"), num(1), num(2)}))
                  ->addExpr(quot(num(1), sum({var("x"), num(1)})), nullptr, nullptr),
              nullptr);
}

TEST(ExprQuotientMultiply, FractionsAndFactors) {
    EXPECT_EQ(quot(num(2), num(3))->multiplyExpr(quot(var("x"), num(5)), nullptr, nullptr)->description(),
              "(2 * x) / (3 * 5)");

    auto four = num(4);
    auto fraction = quot(term(2, "x"), num(3));
    ExprPtr scaled = fraction->multiplyExpr(four, nullptr, nullptr);
    EXPECT_EQ(scaled->description(), "(2x * 4) / 3");
    EXPECT_NE(
        std::static_pointer_cast<ExprProduct>(std::static_pointer_cast<ExprQuotient>(scaled)->firstExpr())
            ->exprs()[1],
        four);
    EXPECT_EQ(quot(var("x"), num(3))->multiplyExpr(num(1), nullptr, nullptr)->description(), "(x * 1) / 3");

    auto x = var("x");
    auto y = var("y");
    auto left = quot(prod({num(2), x}), num(3));
    auto right = quot(y, var("z"));
    auto outer = prod({left, right});
    auto times = std::static_pointer_cast<OpTimes>(outer->ops()[0]);
    RecordingBaggage bag;
    auto result = std::static_pointer_cast<ExprQuotient>(left->multiplyExpr(right, times, &bag));
    EXPECT_EQ(result->description(), "(2 * x * y) / (3 * z)");
    auto numerator = std::static_pointer_cast<ExprProduct>(result->firstExpr());
    auto denominator = std::static_pointer_cast<ExprProduct>(result->secondExpr());
    EXPECT_EQ(numerator->ops()[1]->firstExpr(), x);
    EXPECT_EQ(numerator->ops()[1]->secondExpr(), y);
    EXPECT_THAT(bag.records,
                ElementsAre(Position(numerator->ops()[1], times), Position(denominator->ops()[0], times),
                            Position(result->op(), left->op())));
}

TEST(ExprQuotientJoin, DivideMultipliesTheDenominatorNegateTheNumerator) {
    auto fraction = quot(var("x"), num(2));
    EXPECT_EQ(fraction->insertExpr(num(3), nullptr, ArithmeticTypeDivide, 1), fraction);
    EXPECT_EQ(fraction->description(), "x / (2 * 3)");
    EXPECT_EQ(quot(var("x"), num(2))->insertExpr(num(3), nullptr, ArithmeticTypeAdd, 0)->description(),
              "3 + x / 2");
    EXPECT_EQ(quot(var("x"), num(2))->insertExpr(num(3), nullptr, static_cast<ArithmeticType>(-2), 0),
              nullptr);

    auto top = sum({var("x"), num(1)});
    auto negated = quot(top, num(2));
    EXPECT_EQ(negated->getNegativeWithBaggage(nullptr), negated);
    EXPECT_EQ(negated->description(), "(-1 * (x + 1)) / 2");
}

TEST(ExprEquation, NeverJoinedNegatedOrCombined) {
    auto equation = eq(var("x"), num(1));
    EXPECT_EQ(equation->insertExpr(num(1), nullptr, ArithmeticTypeAdd, 0), nullptr);
    EXPECT_EQ(equation->getNegativeWithBaggage(nullptr), nullptr);
    EXPECT_EQ(equation->addExpr(num(0), nullptr, nullptr), nullptr);
    EXPECT_EQ(equation->multiplyExpr(num(1), nullptr, nullptr), nullptr);
    EXPECT_EQ(equation->getSimplifiedExpr(), equation);
    EXPECT_FALSE(equation->canSubstitute());
    EXPECT_TRUE(eq(var("x"), var("y"))->canSubstitute());
}

TEST(ExprBinaryCopy, ChildrenFirstThenTheOperator) {
    auto left = var("x");
    auto right = num(3);
    auto equation = eq(left, right);
    RecordingBaggage bag;
    auto copy = std::static_pointer_cast<ExprEquation>(equation->copyWithBag(&bag));
    EXPECT_EQ(copy->description(), "x = 3");
    EXPECT_THAT(bag.records,
                ElementsAre(Position(copy->firstExpr(), left), Position(copy->secondExpr(), right),
                            Position(copy->op(), equation->op())));
    EXPECT_EQ(copy->firstExpr()->exprParent(), copy);
}

} // namespace
} // namespace zm
