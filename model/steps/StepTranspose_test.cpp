#include "model/Operator.h"
#include "model/steps/StepTranspose.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/Trees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;
using ::testing::ElementsAre;

TEST(StepTranspose, Examples) {
    struct Case {
        std::shared_ptr<ExprEquation> root;
        ExprPtr moved;
        int32_t sym;
        const char* text;
    };
    auto two = num(2), twoFactor = num(2), twoDenominator = num(2), three = num(3), x = var("x");
    const Case cases[] = {
        {eq(sum({two, var("x")}), num(5)), two, ArithmeticTypeAdd, "x = 5 + -2"},
        {eq(prod({twoFactor, var("x")}), num(6)), twoFactor, ArithmeticTypeMultiply, "x = 6 / 2"},
        {eq(quot(var("x"), twoDenominator), num(3)), twoDenominator, ArithmeticTypeDivide, "x = 3 * 2"},
        {eq(sum({var("x"), three}), num(0)), three, ArithmeticTypeAdd, "x = -3"},
        {eq(num(5), x), x, ArithmeticTypeAdd, "-1x + 5 = 0"},
    };
    for (const Case& c : cases) {
        ExprPtr result = StepTranspose::stepTransposeWithExpr(c.moved, c.sym)->applyToExpr(c.root, nullptr);
        EXPECT_EQ(result, c.root);
        EXPECT_EQ(result->description(), c.text);
    }
}

TEST(StepTranspose, RecordsAgentStartAndTheZeroOutOfTheEquals) {
    auto x = var("x");
    auto root = eq(x, num(4));
    RecordingBaggage bag;
    StepTranspose::stepTransposeWithExpr(x, ArithmeticTypeAdd)->applyToExpr(root, &bag);
    EXPECT_EQ(root->description(), "0 = 4 + -1x");
    auto right = std::static_pointer_cast<ExprSum>(root->secondExpr());
    const ExprPtr negative = right->exprs()[1];
    EXPECT_THAT(bag.records, ElementsAre(Position(negative, x), Agent(negative),
                                         Position(right->ops()[0], root->secondExpr()->children()[0]),
                                         Position(negative, x), Position(root->firstExpr(), root->op())));
}

TEST(StepTranspose, FactorOntoAZeroSideDividesIt) {
    auto three = num(3);
    auto root = eq(prod({three, var("x")}), num(0));
    StepTranspose::stepTransposeWithExpr(three, ArithmeticTypeMultiply)->applyToExpr(root, nullptr);
    EXPECT_EQ(root->description(), "x = 0 / 3");
}

TEST(StepTranspose, AZeroFactorStaysAndShakes) {
    const auto zero = [] { return num(0); };
    const std::shared_ptr<ExprSoloist> factors[] = {zero(), term(0, "y"), zero()};
    const std::shared_ptr<ExprEquation> roots[] = {eq(prod({factors[0], var("x")}), num(5)),
                                                   eq(num(5), prod({var("x"), factors[1]})),
                                                   eq(prod({factors[2], var("x")}), sum({var("x"), num(3)}))};
    for (size_t i = 0; i < std::size(roots); ++i) {
        const std::string before = roots[i]->description();
        RecordingBaggage bag;
        EXPECT_EQ(StepTranspose::stepTransposeWithExpr(factors[i], ArithmeticTypeMultiply)
                      ->applyToExpr(roots[i], &bag),
                  roots[i]);
        EXPECT_EQ(roots[i]->description(), before);
        EXPECT_THAT(bag.records, ElementsAre(Fail(factors[i]))) << before;
    }
}

TEST(StepTranspose, OnlyOnAnEquation) {
    auto two = num(2);
    auto root = sum({two, var("x")});
    RecordingBaggage bag;
    auto step = StepTranspose::stepTransposeWithExpr(two, ArithmeticTypeAdd);
    EXPECT_EQ(step->applyToExpr(root, &bag), nullptr);
    EXPECT_EQ(root->description(), "2 + x");
    ASSERT_EQ(bag.records.size(), 2u);
    EXPECT_EQ(bag.records[1].kind, Record::Kind::Agent);
    EXPECT_EQ(step->description(), "stepTranspose(2, +)");
    EXPECT_EQ(StepTranspose::stepTransposeWithExpr(two, ArithmeticTypeDivide)->description(),
              "stepTranspose(2, /)");

    // A term on neither side leaves the equation as it was.
    auto elsewhere = eq(var("x"), num(1));
    EXPECT_EQ(StepTranspose::stepTransposeWithExpr(var("y"), 0)->applyToExpr(elsewhere, nullptr), elsewhere);
    EXPECT_EQ(elsewhere->description(), "x = 1");
}

} // namespace
} // namespace zm
