// Goal tests, content equality and the simplifier.

#include "model/testing/Trees.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

struct GoalCase {
    ExprPtr tree;
    bool expected;
};

void expectAll(const std::vector<GoalCase>& cases, bool (Expr::*test)() const) {
    for (const GoalCase& c : cases)
        EXPECT_EQ((c.tree.get()->*test)(), c.expected) << c.tree->description();
}

TEST(GoalTests, SimplifiedTerms) {
    expectAll({{num(4), true}, {term(0, "x"), true}, {term(3, "x", 2), true}}, &Expr::isSimplified);
}

TEST(GoalTests, SimplifiedEquations) {
    expectAll({{eq(var("x"), num(5)), true},
               {eq(num(5), var("x")), true},
               {eq(var("x", 2), num(4)), true},
               {eq(var("x", 2), num(9)), true},
               {eq(term(2, "x"), num(6)), false},
               {eq(var("x"), var("y")), false},
               {eq(num(5), num(5)), false},
               {eq(var("x"), sum({var("y"), num(1)})), true},
               {eq(var("x"), sum({var("x"), num(1)})), false},
               {eq(var("x"), prod({num(2), var("y")})), false},
               {eq(num(5), sum({var("x"), num(1)})), false},
               {eq(sum({var("y"), num(1)}), var("x")), true},
               {eq(sum({var("x"), num(1)}), sum({var("y"), num(1)})), false}},
              &Expr::isSimplified);
}

TEST(GoalTests, SimplifiedFractions) {
    expectAll({{quot(var("x"), num(0)), true},
               {quot(num(3), num(0)), true},
               {quot(num(0), var("x")), false},
               {quot(num(1), var("x")), true},
               {quot(num(1), num(5)), true},
               {quot(num(1), num(1)), false},
               {quot(num(5), num(-1)), false},
               {quot(sum({var("x"), num(1)}), num(2)), true},
               {quot(sum({var("x"), num(1), num(2)}), num(2)), false},
               {quot(prod({num(2), var("x")}), num(3)), false},
               {quot(term(2, "x"), num(4)), false},
               {quot(var("x"), num(4)), true},
               {quot(num(4), var("x")), true},
               {quot(term(2, "x"), term(3, "y")), true},
               {quot(num(4), num(6)), false},
               {quot(num(3), num(4)), true},
               {quot(num(-3), num(4)), true},
               {quot(num(3), num(-4)), true},
               {quot(num(-3), num(-4)), false},
               {quot(var("x"), term(2, "x")), false},
               {quot(var("x", 2), var("x")), false},
               {quot(num(2), sum({var("x"), num(1)})), true},
               {quot(num(2), sum({var("x"), num(1), num(3)})), false},
               {quot(num(-2147483647 - 1), num(6)), false}},
              &Expr::isSimplified);
}

TEST(GoalTests, SimplifiedSums) {
    expectAll({{sum({var("x"), num(2), num(3)}), false},
               {sum({var("x"), var("x", 2)}), true},
               {sum({term(2, "x"), term(3, "y"), num(1)}), true},
               {sum({prod({num(2), var("x")}), num(1)}), false},
               {sum({term(2, "x"), quot(num(1), num(2))}), true},
               {sum({term(2, "x"), term(2, "x")}), false}},
              &Expr::isSimplified);
    EXPECT_FALSE(prod({num(2), var("x")})->isSimplified());
}

TEST(GoalTests, Factorized) {
    expectAll({{var("x"), true},
               {var("x", 3), true},
               {num(1), true},
               {num(7), true},
               {num(-1), true},
               {term(2, "x"), false},
               {num(0), false},
               {num(4), false},
               {num(6), false},
               {num(-7), false},
               {term(-1, "x"), false},
               {prod({num(2), sum({var("x"), num(1)})}), true},
               {prod({num(2), num(2), var("x")}), true},
               {prod({num(-1), num(3), var("x")}), true},
               {sum({var("x"), num(1)}), true},
               {prod({num(4), var("x")}), false},
               {prod({num(-3), var("x")}), false},
               {sum({term(2, "x"), num(4)}), false},
               {eq(var("x"), num(2)), false},
               {quot(var("x"), num(2)), false}},
              &Expr::isFactorized);
}

TEST(Equality, EquivalentIsFreeOfOrderExactMatchIsNot) {
    EXPECT_TRUE(sum({var("x"), num(1)})->isEquivalent(*sum({num(1), var("x")})));
    EXPECT_FALSE(sum({var("x"), num(1)})->isExactMatch(*sum({num(1), var("x")})));
    EXPECT_TRUE(eq(var("x"), num(5))->isEquivalent(*eq(num(5), var("x"))));
    EXPECT_FALSE(eq(var("x"), num(5))->isExactMatch(*eq(num(5), var("x"))));
    EXPECT_TRUE(quot(num(1), num(2))->isEquivalent(*quot(num(1), num(2))));
    EXPECT_FALSE(quot(num(1), num(2))->isEquivalent(*quot(num(2), num(1))));
    EXPECT_FALSE(sum({var("x"), var("y")})->isExactMatch(*prod({var("x"), var("y")})));
    EXPECT_FALSE(sum({var("x"), var("y")})->isEquivalent(*prod({var("x"), var("y")})));
    EXPECT_TRUE(term(2, "x", 2)->isExactMatch(*term(2, "x", 2)));
    EXPECT_FALSE(term(2, "x", 2)->isEquivalent(*term(2, "x", 3)));
}

TEST(Equality, ListsMatchOneToOne) {
    // Each member of one list needs its own partner in the other, in both directions.
    auto shorter = sum({var("x"), num(1)});
    auto longer = sum({var("x"), num(1), num(2)});
    EXPECT_FALSE(shorter->isEquivalent(*longer));
    EXPECT_FALSE(longer->isEquivalent(*shorter));
    EXPECT_FALSE(sum({var("x"), var("x"), num(1)})->isEquivalent(*sum({var("x"), num(1), num(1)})));
    EXPECT_TRUE(sum({var("x"), var("x"), num(1)})->isEquivalent(*sum({var("x"), num(1), var("x")})));
    EXPECT_TRUE(prod({sum({var("a"), var("b")}), var("c")})
                    ->isEquivalent(*prod({var("c"), sum({var("b"), var("a")})})));
}

TEST(Equality, AFractionIsNoEquation) {
    EXPECT_FALSE(quot(var("x"), num(5))->isEquivalent(*eq(var("x"), num(5))));
    EXPECT_FALSE(quot(var("x"), num(5))->isExactMatch(*eq(var("x"), num(5))));
    EXPECT_FALSE(eq(var("x"), num(5))->isExactMatch(*quot(var("x"), num(5))));
}

TEST(Simplification, CollectsAndMultipliesOut) {
    const std::pair<ExprPtr, const char*> cases[] = {
        {sum({var("x"), var("x"), var("x")}), "3x"},
        {sum({term(2, "x"), num(3), var("x"), num(4)}), "3x + 7"},
        {sum({term(2, "x"), num(6)}), "2x + 6"},
        {prod({num(2), sum({var("x"), num(3)})}), "2x + 6"},
        {prod({num(2), num(3), sum({var("x"), num(1)})}), "6x + 6"},
        {prod({num(2), var("x")}), "2x"},
        {prod({sum({var("x"), num(1)}), sum({var("x"), num(2)})}), "(x + 1) * (x + 2)"},
        {var("x", 2), "x^2"},
        // Factors that do not multiply leave the product as it is, and a sum that cannot be
        // collected further comes back after one pass instead of looping.
        {prod({var("x"), var("y")}), "x * y"},
        {prod({var("x"), sum({var("x"), num(1)})}), "x * x + x"},
        {sum({prod({var("x"), var("y")}), num(1), num(2)}), "x * y + 3"},
        {sum({quot(num(2), num(4)), num(1)}), "2 / 4 + 1"},
        {sum({term(3, "num", 2), term(3, "num", 2)}), "3^2 + 3^2"},
        // Terms that multiplying out brings into the sum meet their like terms; a variable that
        // cancels keeps its term with coefficient 0.
        {sum({prod({num(3), sum({num(4), term(8, "a")})}), prod({sum({num(4), num(4)}), term(-3, "a")})}),
         "12 + 0a"},
        {sum({prod({num(2), sum({var("x"), num(1)})}), var("x"), num(1)}), "3x + 3"},
    };
    for (const auto& [tree, text] : cases) {
        ExprPtr simplified = tree->getSimplifiedExpr();
        ASSERT_NE(simplified, nullptr) << text;
        EXPECT_EQ(simplified->description(), text);
        EXPECT_NE(simplified, tree);
    }
}

TEST(Simplification, TheSourceTreeStaysIntact) {
    auto fraction = quot(var("x"), num(2));
    auto source = sum({fraction, var("y"), var("y")});
    ExprPtr simplified = source->getSimplifiedExpr();
    EXPECT_EQ(fraction->exprParent(), source);
    EXPECT_NE(std::static_pointer_cast<ExprSum>(simplified)->exprs()[0], fraction);
}

TEST(Simplification, FactorsStayUnchanged) {
    EXPECT_EQ(sum({quot(var("x"), num(2)), var("y"), var("y")})->getSimplifiedExpr()->description(),
              "x / 2 + 2y");

    EXPECT_EQ(prod({num(2), num(3), var("x")})->multiplyAllExprsTogether()->description(), "6x");
    EXPECT_EQ(prod({num(2), var("x"), num(3)})->multiplyAllExprsTogether()->description(), "6x");
    EXPECT_EQ(prod({var("x"), var("y")})->multiplyAllExprsTogether(), nullptr);
    EXPECT_EQ(prod({num(2), sum({var("x"), num(1)})})->multiplyAllExprsTogether(), nullptr);
    auto withFraction = prod({num(3), quot(var("x"), num(2))});
    EXPECT_EQ(withFraction->multiplyAllExprsTogether()->description(), "(3 * x) / 2");
    EXPECT_EQ(withFraction->description(), "3 * (x / 2)");
}

TEST(EquationGoal, OtherSideOfIsolatedVariable) {
    const std::pair<std::shared_ptr<ExprEquation>, const char*> cases[] = {
        {eq(var("x"), num(5)), "5"},
        {eq(num(5), var("x")), "5"},
        {eq(var("x"), var("y")), nullptr},
        {eq(var("x"), sum({var("y"), num(1), num(2)})), "y + 1 + 2"},
        {eq(var("x"), sum({var("x"), num(1)})), nullptr},
        {eq(term(2, "x"), sum({var("y"), num(1)})), nullptr},
        {eq(sum({var("y"), num(1)}), var("x")), "y + 1"},
        {eq(sum({var("y"), num(1)}), sum({var("x"), num(1)})), nullptr},
    };
    for (const auto& [equation, side] : cases) {
        ExprPtr other = equation->otherSideOfIsolatedVar();
        if (side) {
            ASSERT_NE(other, nullptr) << equation->description();
            EXPECT_EQ(other->description(), side);
        } else {
            EXPECT_EQ(other, nullptr) << equation->description();
        }
    }
    EXPECT_FALSE(ExprEquation::isLegitOther(*sum({var("x"), num(1)}), "x"));
    EXPECT_TRUE(ExprEquation::isLegitOther(*sum({var("y"), num(1)}), "x"));
    EXPECT_FALSE(ExprEquation::isLegitOther(*sum({num(2), num(1)}), "x"));
}

} // namespace
} // namespace zm
