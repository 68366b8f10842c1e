// The text form of every node class and the measuring text of the views.

#include "model/testing/Trees.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

TEST(TextForm, WorkedExamples) {
    const std::pair<ExprPtr, const char*> cases[] = {
        {num(-3), "-3"},
        {term(3, "x", 2), "3x^2"},
        {term(-1, "x"), "-1x"},
        {var("x", -1), "x^-1"},
        {sum({var("x"), num(-3)}), "x + -3"},
        {eq(prod({num(2), sum({var("x"), num(1)})}), num(10)), "2 * (x + 1) = 10"},
        {quot(sum({var("x"), num(1)}), num(2)), "(x + 1) / 2"},
        {quot(num(3), prod({num(2), var("x")})), "3 / (2 * x)"},
        {prod({sum({var("x"), num(1)}), sum({var("x"), num(-1)})}), "(x + 1) * (x + -1)"},
        {prod({num(2), sum({var("x"), num(1)}), sum({var("x"), num(2)})}), "2 * (x + 1) * (x + 2)"},
        {sum({quot(var("x"), num(2)), num(1)}), "x / 2 + 1"},
        {sum({prod({num(2), var("x")}), num(1)}), "2 * x + 1"},
        {quot(quot(var("x"), num(2)), num(3)), "(x / 2) / 3"},
        {prod({quot(var("x"), num(3)), num(2)}), "x / 3 * 2"},
        // A fraction after the first factor is bracketed, so that it reads back as the same tree.
        {prod({num(2), quot(var("x"), num(3))}), "2 * (x / 3)"},
        // A power of a number keeps its exponent.
        {term(3, "num", 2), "3^2"},
        {term(-3, "num", 2), "-3^2"},
        {sum({term(2, "num", 3), var("x")}), "2^3 + x"},
        // A term made from text that does not read shows that very text.
        {ExprSoloist::soloWithCoef(1, "2 + + x"), "2 + + x"},
    };
    for (const auto& [tree, text] : cases)
        EXPECT_EQ(tree->description(), text);
}

TEST(TextForm, MeasuringText) {
    const std::pair<ExprPtr, const char*> cases[] = {
        {term(3, "x", 2), "3x"},
        {num(-4), "-4"},
        {var("y", 3), "y"},
        {sum({var("x"), num(-3)}), "x+-3"},
        {prod({num(2), sum({var("x"), num(1)})}), "2*(x+1)"},
        {quot(sum({var("x"), num(1)}), num(2)), "x+1"},
        {quot(num(2), num(12)), "12"},
        {quot(num(10), num(12)), "10"},
        {eq(var("x"), num(5)), "x=5"},
    };
    for (const auto& [tree, text] : cases)
        EXPECT_EQ(tree->getSizeApproxString(), text);
}

} // namespace
} // namespace zm
