#include "model/steps/StepEliminate.h"
#include "model/testing/RecordingBaggage.h"
#include "model/testing/Trees.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;
using ::testing::ElementsAre;

// A fraction and the two terms a line crosses, in the order crossed.
struct Crossed {
    ExprPtr root;
    std::vector<ExprPtr> terms;
    const char* result; // nullptr: no step
};

Crossed cross(ExprPtr root, std::vector<ExprPtr> terms, const char* result) {
    return {std::move(root), std::move(terms), result};
}

TEST(StepEliminate, Results) {
    std::vector<Crossed> cases;
    {
        auto x1 = var("x"), x2 = var("x");
        cases.push_back(cross(quot(x1, x2), {x1, x2}, "1"));
    }
    {
        auto zero = num(0), x = var("x");
        cases.push_back(cross(quot(zero, x), {zero, x}, "0"));
        auto zero2 = num(0), x2 = var("x");
        cases.push_back(cross(quot(zero2, x2), {x2, zero2}, nullptr));
    }
    {
        auto x = var("x"), one = num(1);
        cases.push_back(cross(quot(x, one), {x, one}, "x"));
        auto y = var("x"), minusOne = num(-1);
        cases.push_back(cross(quot(y, minusOne), {y, minusOne}, "-1x"));
    }
    {
        auto top = sum({var("x"), num(1)});
        auto minusOne = num(-1);
        cases.push_back(cross(quot(top, minusOne), {top, minusOne}, "-1 * (x + 1)"));
    }
    {
        auto x1 = var("x"), x2 = var("x");
        cases.push_back(cross(quot(x1, prod({x2, var("y")})), {x1, x2}, "1 / y"));
        auto x3 = var("x"), x4 = var("x");
        cases.push_back(cross(quot(prod({x3, var("y")}), prod({x4, var("z")})), {x3, x4}, "y / z"));
        auto x5 = var("x"), x6 = var("x");
        cases.push_back(cross(quot(prod({x5, var("y")}), x6), {x5, x6}, "y"));
    }
    {
        auto m1 = num(-1), m2 = num(-1);
        cases.push_back(cross(quot(m1, m2), {m1, m2}, "1"));
        auto m3 = num(-1), m4 = num(-1);
        cases.push_back(cross(quot(prod({m3, var("x")}), m4), {m3, m4}, "x"));
    }
    {
        auto one = num(1);
        auto s = sum({var("x"), num(1)});
        cases.push_back(cross(quot(one, s), {one, s}, nullptr));
        auto one2 = num(1), x = var("x");
        cases.push_back(cross(quot(one2, x), {one2, x}, nullptr));
        auto two = num(2);
        auto s2 = sum({var("x"), num(1)});
        cases.push_back(cross(quot(two, s2), {two, s2}, nullptr));
    }
    {
        auto a = var("x", 2), b = var("x", 2);
        cases.push_back(cross(quot(a, b), {a, b}, "1"));
        auto c = var("x", 2), d = var("x");
        cases.push_back(cross(quot(c, d), {c, d}, nullptr));
    }
    {
        // The fraction inside a larger expression: the cancelled fraction takes its place.
        auto x1 = var("x"), x2 = var("x");
        cases.push_back(
            cross(eq(sum({quot(prod({num(3), x1}), x2), num(1)}), num(7)), {x1, x2}, "3 + 1 = 7"));
    }
    for (const Crossed& c : cases) {
        const std::string before = c.root->description();
        auto step = StepEliminate::stepEliminateWithExprs(c.terms);
        if (!c.result) {
            EXPECT_EQ(step, nullptr) << before;
            continue;
        }
        ASSERT_NE(step, nullptr) << before;
        EXPECT_EQ(step->applyToExpr(c.root, nullptr)->description(), c.result) << before;
    }
}

TEST(StepEliminate, RecordsAndValidity) {
    auto x1 = var("x"), x2 = var("x");
    auto root = quot(x1, x2);
    auto step = StepEliminate::stepEliminateWithExprs({x1, x2});
    EXPECT_EQ(step->description(), "stepEliminate(x, x)");
    RecordingBaggage bag;
    ExprPtr one = step->applyToExpr(root, &bag);
    EXPECT_THAT(bag.records, ElementsAre(Position(one, x1), Condemned(x1, x1), Condemned(x2, x2)));

    auto a = var("a"), b = var("a"), c = var("a");
    quot(prod({a, b}), c);
    EXPECT_FALSE(StepEliminate({a, b, c}).isValid());
    EXPECT_EQ(StepEliminateQuick::stepEliminateQuickFromExprs({a, b, c}), nullptr);
    EXPECT_EQ(StepEliminate::correctAncestor(var("x")), nullptr);
}

TEST(StepEliminateQuick, Results) {
    struct Case {
        int32_t topCoef;
        const char* topVar;
        int32_t topExponent;
        int32_t bottomCoef;
        const char* bottomVar;
        const char* result; // nullptr: no step
    };
    const Case cases[] = {
        {4, "num", 1, 2, "num", "(2 * 2) / 2"},
        {2, "num", 1, 4, "num", "(1 * 2) / (2 * 2)"},
        {12, "num", 1, 8, "num", "(3 * 4) / (2 * 4)"},
        {6, "x", 1, 4, "y", "(3x * 2) / (2y * 2)"},
        {6, "x", 1, 4, "x", "(6 * x) / (4 * x)"},
        {2, "x", 1, 1, "x", "(2 * x) / x"},
        {-6, "num", 1, 4, "num", "(-3 * 2) / (2 * 2)"},
        {-6, "num", 1, -4, "num", "(3 * -2) / (2 * -2)"},
        {-3, "num", 1, 3, "num", "-1"},
        {3, "num", 1, -3, "num", "(1 * 3) / (-1 * 3)"},
        {-3, "num", 1, -5, "num", "3 / 5"},
        {3, "num", 1, 5, "num", nullptr},
        // The cofactor takes back the exponent with the variable: 6x^2/4y keeps its value.
        {6, "x", 2, 4, "y", "(3x^2 * 2) / (2y * 2)"},
    };
    for (const Case& c : cases) {
        auto top = term(c.topCoef, c.topVar, c.topExponent);
        auto bottom = term(c.bottomCoef, c.bottomVar);
        auto root = quot(top, bottom);
        const std::string before = root->description();
        auto step = StepEliminateQuick::stepEliminateQuickFromExprs({top, bottom});
        if (!c.result) {
            EXPECT_EQ(step, nullptr) << before;
            continue;
        }
        ASSERT_NE(step, nullptr) << before;
        EXPECT_EQ(step->applyToExpr(root, nullptr)->description(), c.result) << before;
    }
}

TEST(StepEliminateQuick, TwoFactorsOfOneNumerator) {
    auto two = num(2), four = num(4);
    auto root = quot(prod({two, four}), var("x"));
    auto step = StepEliminateQuick::stepEliminateQuickFromExprs({two, four});
    ASSERT_NE(step, nullptr);
    RecordingBaggage bag;
    EXPECT_EQ(step->applyToExpr(root, &bag)->description(), "(1 * 2 * 2 * 2) / x");
    EXPECT_EQ(bag.records[0], Position(step->firstReplacement(), two));
    EXPECT_EQ(bag.records[1], Position(step->secondReplacement(), four));

    auto fresh = quot(prod({num(2), num(4)}), var("x"));
    auto product = std::static_pointer_cast<ExprProduct>(fresh->firstExpr());
    auto again = StepEliminateQuick::stepEliminateQuickFromExprs({product->exprs()[0], product->exprs()[1]});
    ExprPtr tried = applyToIdCopy(*again, *fresh);
    ASSERT_NE(tried, nullptr);
    EXPECT_EQ(tried->description(), "(1 * 2 * 2 * 2) / x");
    EXPECT_EQ(fresh->description(), "(2 * 4) / x");
}

TEST(CommonFactorOfPairs, FirstThenSecondFactor) {
    auto p = prod({num(2), num(6)});
    EXPECT_EQ(commonFactorOfPairs(*p, *prod({num(2), num(4)})), p->exprs()[0]);
    EXPECT_EQ(commonFactorOfPairs(*p, *prod({num(3), num(6)})), p->exprs()[1]);
    EXPECT_EQ(commonFactorOfPairs(*prod({num(1), num(5)}), *prod({num(1), num(3)})), nullptr);
    EXPECT_EQ(commonFactorOfPairs(*prod({num(1), num(2), num(3)}), *p), nullptr);
}

} // namespace
} // namespace zm
