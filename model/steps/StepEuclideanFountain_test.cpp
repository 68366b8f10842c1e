#include "model/steps/StepEuclideanFountain.h"
#include "model/testing/ModalProbe.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/Trees.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;
using ::testing::ElementsAre;

TEST(StepEuclideanFountain, SameOperationOnBothSides) {
    struct Case {
        std::shared_ptr<ExprEquation> equation;
        ExprPtr typed;
        int32_t type;
        const char* text;
    };
    const Case cases[] = {
        {eq(sum({var("x"), num(2)}), num(5)), num(-2), ArithmeticTypeAdd, "-2 + x + 2 = 5 + -2"},
        {eq(term(2, "x"), num(6)), num(3), ArithmeticTypeMultiply, "3 * 2x = 6 * 3"},
        {eq(term(2, "x"), num(6)), num(2), ArithmeticTypeDivide, "2x / 2 = 6 / 2"},
    };
    for (const Case& c : cases) {
        auto unrelatedRoot = num(99);
        StepEuclideanFountain step(c.equation, c.typed, c.type);
        EXPECT_EQ(step.applyToExpr(unrelatedRoot, nullptr), c.equation);
        EXPECT_EQ(c.equation->description(), c.text);
        EXPECT_EQ(c.typed->exprParent(), nullptr) << "only copies of the typed expression join";
    }
    // Only what is surely zero is refused; adding zero changes nothing but is no wrong move.
    const ExprPtr notSurelyZero[] = {sum({num(1), var("y")}), sum({num(2), num(-1)}), var("y"),
                                     prod({num(2), var("y")}), quot(var("y"), num(1))};
    for (int32_t type : {ArithmeticTypeMultiply, ArithmeticTypeDivide}) {
        for (const ExprPtr& operand : notSurelyZero) {
            auto equation = eq(var("x"), num(1));
            StepEuclideanFountain(equation, operand, type).applyToExpr(equation, nullptr);
            EXPECT_NE(equation->description(), "x = 1") << type << " " << operand->description();
        }
    }
    auto plusZero = eq(var("x"), num(1));
    StepEuclideanFountain(plusZero, num(0), ArithmeticTypeAdd).applyToExpr(plusZero, nullptr);
    EXPECT_EQ(plusZero->description(), "0 + x = 1 + 0");
    auto equation = eq(var("x"), num(1));
    EXPECT_EQ(StepEuclideanFountain(equation, num(2), 5).applyToExpr(equation, nullptr), equation);
    EXPECT_EQ(equation->description(), "x = 1");
}

TEST(StepEuclideanFountain, RefusesAnEquationAndAMultiplicationOrDivisionByZero) {
    struct Case {
        ExprPtr typed;
        int32_t type;
    };
    std::vector<Case> cases = {
        {eq(num(1), num(2)), ArithmeticTypeAdd},
        {eq(var("y"), num(2)), ArithmeticTypeMultiply},
    };
    const ExprPtr zeros[] = {
        num(0),
        term(0, "y"),
        prod({num(2), num(0)}),
        quot(num(0), var("y")),
        sum({num(1), num(-1)}),
        prod({num(3), sum({num(4), num(-2), num(-2)})}),
    };
    for (const ExprPtr& zero : zeros) {
        cases.push_back({zero, ArithmeticTypeMultiply});
        cases.push_back({zero, ArithmeticTypeDivide});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed->description() + " as " + std::to_string(c.type));
        auto equation = eq(quot(var("x"), num(5)), num(2));
        RecordingBaggage bag;
        EXPECT_EQ(StepEuclideanFountain(equation, c.typed, c.type).applyToExpr(equation, &bag), equation);
        EXPECT_EQ(equation->description(), "x / 5 = 2");
        EXPECT_THAT(bag.records, ElementsAre(Fail(equation)));
    }
}

TEST(StepEuclideanFountain, CopiesStartAtTheTypedExpression) {
    auto typed = num(4);
    auto equation = eq(var("x"), num(1));
    RecordingBaggage bag;
    StepEuclideanFountain(equation, typed, ArithmeticTypeAdd).applyToExpr(equation, &bag);
    ASSERT_GE(bag.records.size(), 2u);
    auto left = std::static_pointer_cast<ExprSum>(equation->firstExpr());
    auto right = std::static_pointer_cast<ExprSum>(equation->secondExpr());
    EXPECT_EQ(bag.records[0], Position(left->exprs()[0], typed));
    EXPECT_EQ(bag.records[1], Position(right->exprs()[1], typed));
}

TEST(StepEuclideanFountainStart, OpensTheBothSidesPlayground) {
    auto equation = eq(var("x"), num(1));
    StepEuclideanFountainStart step(equation);
    ModalProbe probe;
    EXPECT_NE(step.createModalPlayground(probe), nullptr);
    EXPECT_THAT(probe.asked, ElementsAre("euclidean-fountain"));
    EXPECT_EQ(step.applyToExpr(equation, nullptr), equation);
    EXPECT_EQ(step.remakeStepFromExprIDsUsingExpr(equation), nullptr);
    EXPECT_EQ(StepEuclideanFountain(equation, num(1), 0).remakeStepFromExprIDsUsingExpr(equation), nullptr);
}

} // namespace
} // namespace zm
