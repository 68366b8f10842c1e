#include "model/ExprSoloist.h"
#include "model/Operator.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/Trees.h"

#include <limits>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(ExprSoloist, MakersAndClassTests) {
    auto number = num(5);
    EXPECT_EQ(number->var(), "num");
    EXPECT_EQ(number->exponent(), 1);
    EXPECT_TRUE(number->varIsNum());
    EXPECT_TRUE(ExprSoloist::isZero(term(0, "x", 3).get()));
    EXPECT_FALSE(ExprSoloist::isPositiveOne(var("x").get()));
    EXPECT_TRUE(ExprSoloist::isPositiveOne(term(1, "num", 4).get()));
    EXPECT_TRUE(ExprSoloist::isNegativeOne(num(-1).get()));
    EXPECT_FALSE(ExprSoloist::isNegativeOne(term(-1, "x").get()));
    EXPECT_FALSE(ExprSoloist::isZero(prod({num(0), num(1)}).get()));
    EXPECT_FALSE(ExprSoloist::isZero(nullptr));

    auto n = num(3);
    auto x = var("x", 2);
    auto pair = ExprSoloist::numOnlyThenVarOnly(x, n);
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->first, n);
    EXPECT_EQ(pair->second, x);
    EXPECT_FALSE(ExprSoloist::numOnlyThenVarOnly(n, term(2, "x")));
    EXPECT_FALSE(ExprSoloist::numOnlyThenVarOnly(n, num(4)));
}

struct ArithmeticCase {
    std::shared_ptr<ExprSoloist> left;
    ExprPtr right;
    const char* result; // nullptr: refused
};

void PrintTo(const ArithmeticCase& c, std::ostream* out) {
    *out << c.left->description() << " with " << c.right->description();
}

class AddTerms : public ::testing::TestWithParam<ArithmeticCase> {};

TEST_P(AddTerms, ResultAndRecords) {
    const ArithmeticCase& c = GetParam();
    auto list = sum({c.left, c.right});
    auto plus = std::static_pointer_cast<OpPlus>(list->ops()[0]);
    RecordingBaggage bag;
    ExprPtr result = c.left->addExpr(c.right, plus, &bag);
    if (!c.result) {
        EXPECT_EQ(result, nullptr);
        EXPECT_THAT(bag.records, IsEmpty());
        return;
    }
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->description(), c.result);
    EXPECT_EQ(c.left->exprParent(), list) << "operands stay as they are";
    const bool vanishedVariable = ExprSoloist::isZero(result.get()) && c.left->varIsNotNum();
    if (vanishedVariable)
        EXPECT_THAT(bag.records, ElementsAre(Condemned(c.left, plus), Condemned(c.right, plus)));
    else
        EXPECT_THAT(bag.records,
                    ElementsAre(Position(result, plus), Condemned(c.left, plus), Condemned(c.right, plus)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, AddTerms,
    ::testing::Values(ArithmeticCase{term(2, "x"), term(3, "x"), "5x"}, ArithmeticCase{num(3), num(4), "7"},
                      ArithmeticCase{term(3, "x"), term(-3, "x"), "0"}, ArithmeticCase{num(-3), num(3), "0"},
                      ArithmeticCase{num(0), var("x", 2), "x^2"}, ArithmeticCase{var("x", 2), num(0), "x^2"},
                      ArithmeticCase{term(0, "x"), num(5), "5"},
                      ArithmeticCase{term(2, "x", 2), term(5, "x", 2), "7x^2"},
                      ArithmeticCase{num(kMax), num(1), "-2147483648"},
                      ArithmeticCase{var("x"), num(2), nullptr}, ArithmeticCase{var("x"), var("y"), nullptr},
                      ArithmeticCase{var("x", 2), var("x"), nullptr},
                      ArithmeticCase{var("x"), sum({num(1), num(2)}), nullptr},
                      // A power of a number is no coefficient: 3^2 + 3^2 is 18, not 6^2.
                      ArithmeticCase{term(3, "num", 2), term(3, "num", 2), nullptr},
                      ArithmeticCase{term(3, "num", 2), num(4), nullptr},
                      ArithmeticCase{num(0), term(3, "num", 2), "3^2"}));

class MultiplyTerms : public ::testing::TestWithParam<ArithmeticCase> {};

TEST_P(MultiplyTerms, ResultAndRecords) {
    const ArithmeticCase& c = GetParam();
    auto list = prod({c.left, c.right});
    auto times = std::static_pointer_cast<OpTimes>(list->ops()[0]);
    RecordingBaggage bag;
    ExprPtr result = c.left->multiplyExpr(c.right, times, &bag);
    if (!c.result) {
        EXPECT_EQ(result, nullptr);
        EXPECT_THAT(bag.records, IsEmpty());
        return;
    }
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->description(), c.result);
    EXPECT_THAT(bag.records,
                ElementsAre(Position(result, times), Condemned(c.left, times), Condemned(c.right, times)));
    // Without an operator or a record the arithmetic is the same.
    EXPECT_EQ(c.left->multiplyExpr(c.right, nullptr, nullptr)->description(), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MultiplyTerms,
    ::testing::Values(
        ArithmeticCase{num(3), num(4), "12"}, ArithmeticCase{num(3), var("x"), "3x"},
        ArithmeticCase{var("x"), num(3), "3x"}, ArithmeticCase{num(3), var("x", 2), "3x^2"},
        ArithmeticCase{num(2), term(3, "x"), "6x"}, ArithmeticCase{num(3), term(2, "x", 2), "6x^2"},
        ArithmeticCase{num(2), term(3, "x", 2), "6x^2"}, ArithmeticCase{num(5), num(7), "35"},
        ArithmeticCase{num(0), var("x"), "0x"}, ArithmeticCase{num(0), term(3, "x"), "0"},
        ArithmeticCase{num(65536), num(65536), "0"}, ArithmeticCase{var("x"), var("y"), nullptr},
        ArithmeticCase{var("x"), var("x"), nullptr}, ArithmeticCase{term(2, "x"), term(3, "x"), nullptr},
        ArithmeticCase{term(3, "num", 3), var("x"), nullptr},
        // 3^2 * 2x is 18x: the exponent of a number factor must not be dropped.
        ArithmeticCase{term(3, "num", 2), term(2, "x"), nullptr},
        ArithmeticCase{num(4), term(3, "num", 2), nullptr}, ArithmeticCase{num(0), term(3, "num", 2), "0"}));

TEST(ExprSoloist, TermTimesFractionCopiesTheTermIntoTheNumerator) {
    auto three = num(3);
    auto x = var("x");
    auto fraction = quot(x, num(2));
    auto list = prod({three, fraction});
    auto times = std::static_pointer_cast<OpTimes>(list->ops()[0]);
    RecordingBaggage bag;
    ExprPtr result = three->multiplyExpr(fraction, times, &bag);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->description(), "(3 * x) / 2");
    auto quotient = std::static_pointer_cast<ExprQuotient>(result);
    auto numerator = std::static_pointer_cast<ExprProduct>(quotient->firstExpr());
    const ExprPtr& copy = numerator->exprs()[0];
    EXPECT_NE(copy, three);
    EXPECT_EQ(three->exprParent(), list);
    EXPECT_THAT(bag.records, ElementsAre(Position(copy, three), Position(numerator->ops()[0], x),
                                         Position(quotient->op(), fraction->op())));
}

TEST(ExprSoloist, InsertJoinsAsQuotientProductOrSum) {
    auto t = var("t");
    auto parent = sum({t, num(9)});
    auto n = num(2);
    RecordingBaggage bag;
    ExprPtr divided = t->insertExpr(n, &bag, ArithmeticTypeDivide, 0);
    EXPECT_EQ(divided->description(), "t / 2");
    EXPECT_EQ(divided->exprParent(), parent);
    EXPECT_THAT(bag.records, ElementsAre(Position(std::static_pointer_cast<ExprQuotient>(divided)->op(), t,
                                                  AnchorBottomLeft)));

    auto u = var("u");
    RecordingBaggage bag2;
    ExprPtr product = u->insertExpr(num(2), &bag2, ArithmeticTypeMultiply, 0);
    EXPECT_EQ(product->description(), "2 * u");
    EXPECT_THAT(bag2.records,
                ElementsAre(Position(std::static_pointer_cast<ExprList>(product)->ops()[0], u)));
    EXPECT_EQ(var("v")->insertExpr(num(2), nullptr, ArithmeticTypeAdd, 1)->description(), "v + 2");

    // Joining a product: the term goes to the far end and the product grows in place.
    auto factors = prod({num(2), var("y")});
    auto w = var("w");
    EXPECT_EQ(w->insertExpr(factors, nullptr, ArithmeticTypeMultiply, 0), factors);
    EXPECT_EQ(factors->description(), "2 * y * w");
    EXPECT_EQ(w->exprParent(), factors);

    EXPECT_EQ(var("z")->insertExpr(num(1), nullptr, static_cast<ArithmeticType>(3), 0), nullptr);
    EXPECT_EQ(var("z")->insertExpr(num(1), nullptr, static_cast<ArithmeticType>(-1), 0), nullptr);
}

TEST(ExprSoloist, NegationIsANewTermGrowingOutOfTheOld) {
    auto x = term(3, "x", 2);
    RecordingBaggage bag;
    ExprPtr negative = x->getNegativeWithBaggage(&bag);
    EXPECT_EQ(negative->description(), "-3x^2");
    EXPECT_EQ(x->coef(), 3);
    EXPECT_THAT(bag.records, ElementsAre(Position(negative, x)));
    EXPECT_EQ(num(kMin)->getNegativeWithBaggage(nullptr)->description(), "-2147483648");
}

TEST(ExprSoloist, SubstitutionCopiesTheExpression) {
    auto replacement = sum({var("y"), num(1)});
    auto x = var("x");
    RecordingBaggage bag;
    ExprPtr plain = x->substituteVar("x", replacement, &bag);
    EXPECT_EQ(plain->description(), "y + 1");
    EXPECT_NE(plain, replacement);
    auto copy = std::static_pointer_cast<ExprSum>(plain);
    EXPECT_THAT(bag.records,
                ElementsAre(Position(copy->exprs()[0], replacement->exprs()[0]),
                            Position(copy->exprs()[1], replacement->exprs()[1]),
                            Position(copy->ops()[0], replacement->ops()[0]), Position(copy, replacement)));

    auto scaled = term(3, "x");
    RecordingBaggage bag2;
    ExprPtr product = scaled->substituteVar("x", replacement, &bag2);
    EXPECT_EQ(product->description(), "3 * (y + 1)");
    auto factors = std::static_pointer_cast<ExprProduct>(product);
    EXPECT_EQ(bag2.records.front(), Position(factors->exprs()[0], scaled));
    EXPECT_EQ(bag2.records.back(), Position(factors->ops().back(), scaled));

    auto y = var("y");
    EXPECT_EQ(y->substituteVar("x", replacement, nullptr), y);
    // A power of the variable stays as it is rather than lose its exponent.
    auto power = var("x", 2);
    EXPECT_EQ(power->substituteVar("x", replacement, nullptr), power);
}

std::vector<std::string> pairTexts(const ExprSoloist& term) {
    std::vector<std::string> texts;
    for (const auto& product : term.getFactorizedProductPairs())
        texts.push_back(product->description());
    return texts;
}

TEST(ExprSoloist, FactorPairs) {
    EXPECT_THAT(pairTexts(*num(12)), ElementsAre("1 * 12", "2 * 6", "3 * 4"));
    EXPECT_THAT(pairTexts(*num(16)), ElementsAre("1 * 16", "2 * 8", "4 * 4"));
    EXPECT_THAT(pairTexts(*num(7)), ElementsAre("1 * 7"));
    EXPECT_THAT(pairTexts(*num(1)), ElementsAre("1 * 1"));
    EXPECT_THAT(pairTexts(*num(-6)), ElementsAre("-1 * 6"));
    EXPECT_THAT(pairTexts(*term(3, "x", 2)), ElementsAre("3 * x^2"));
    EXPECT_THAT(pairTexts(*term(-1, "x")), ElementsAre("-1 * x"));
    EXPECT_THAT(pairTexts(*num(0)), IsEmpty());
    EXPECT_THAT(pairTexts(*num(-1)), IsEmpty());
    EXPECT_THAT(pairTexts(*term(0, "x")), IsEmpty());
    // 3^2 is no 1 x 3, and -4^2 no -1 x 4.
    EXPECT_THAT(pairTexts(*term(3, "num", 2)), IsEmpty());
    EXPECT_THAT(pairTexts(*term(-4, "num", 2)), IsEmpty());
    EXPECT_THAT(pairTexts(*term(5, "num", 0)), IsEmpty());
    auto thirtySix = pairTexts(*num(36));
    EXPECT_EQ(thirtySix.size(), 5u);
    EXPECT_EQ(thirtySix.back(), "6 * 6");
    // The largest values end (the divisor test runs in 64 bits) and negate with wrap-around.
    EXPECT_THAT(pairTexts(*num(kMax)), ElementsAre("1 * 2147483647"));
    EXPECT_THAT(pairTexts(*num(kMin)), ElementsAre("-1 * -2147483648"));
}

TEST(ExprSoloist, DigitEntry) {
    EXPECT_EQ(num(12)->expandByDigit(*num(3))->description(), "123");
    EXPECT_EQ(num(0)->expandByDigit(*num(5))->description(), "5");
    EXPECT_EQ(num(-1)->expandByDigit(*num(2))->description(), "-12");
    EXPECT_EQ(num(999999999)->expandByDigit(*num(9))->description(), "2147483647");
    EXPECT_EQ(term(4, "x", 3)->expandByDigit(*num(2))->description(), "42x");
    EXPECT_EQ(num(123)->removeLastDigit()->description(), "12");
    EXPECT_EQ(num(7)->removeLastDigit(), nullptr);
    EXPECT_EQ(num(-5)->removeLastDigit()->description(), "0");
}

} // namespace
} // namespace zm
