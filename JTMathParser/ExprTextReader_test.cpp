#include "JTMathParser/ExprTextReader.h"
#include "JTMathParser/JTExpressionBridge.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/testing/Evaluate.h"
#include "model/testing/RandomTrees.h"

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(ExprTextReader, PreparesTextForTheParser) {
    struct Case {
        const char* text;
        const char* prepared;
    };
    const Case cases[] = {
        {"3x + 2", "coefvarterm(3,$x) + 2"},
        {"x^2 + -4", "$x^2 + -4"},
        {"2(x + 1)", "2($x + 1)"},
        {"12ab", "coefvarterm(12,$ab)"},
        {"7", "7"},
        {"2x^2 + 3y^-1", "coefvarterm(2,$x^2) + coefvarterm(3,$y^-1)"},
        {"2x^(2)", "coefvarterm(2,$x^(2))"},
        {"(2x)^2", "(coefvarterm(2,$x))^2"},
        {"2x^2^3", "coefvarterm(2,$x)^2^3"},
        {"2x^2y", "coefvarterm(2,$x)^coefvarterm(2,$y)"},
        {"x2", "x2"},
        {"ab2", "$ab2"},
        {"AB", "$AB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExprTextReader::preparedText(c.text), c.prepared) << c.text;
    }
}

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

struct ReadCase {
    std::string text;
    const char* description; // the text form of what is read
    bool failed;
    double value = kNoValue; // at x = 3, y = 2
};

const std::string kManyNines(100000, '9');

// The model holds what it reads exactly, or the text stays one failed term.
const ReadCase kReadCases[] = {
    {"3x + 2", "3x + 2", false, 11},
    {"x + -3", "x + -3", false, 0},
    {"2x^2", "2x^2", false, 18},
    {"-2x^2", "-2x^2", false, -18},
    {"2x^-1", "2x^-1", false, 2.0 / 3},
    {"2x^(2)", "2x^2", false, 18},
    {"3^2", "3^2", false, 9},
    {"-3^2", "-3^2", false, -9},
    {"-x^2", "-1x^2", false, -9},
    {"x^-1", "x^-1", false, 1.0 / 3},
    {"(x)^2", "x^2", false, 9},
    {"x/2", "x / 2", false, 1.5},
    {"a=b", "a = b", false},
    {"2-x", "2 + -1x", false, -1},
    {"-x", "-1x", false, -3},
    {"3x+2=11", "3x + 2 = 11", false},
    {"2(x + 1) = 10", "2 * (x + 1) = 10", false},
    {"1 + 2 + 3", "1 + 2 + 3", false, 6},
    {"x / 2 + 1", "x / 2 + 1", false, 2.5},
    // Kept on purpose: implicit multiplication, and letters run together are one name.
    {"x(2)", "x * 2", false, 6},
    {"2x y", "2x * y", false, 12},
    {"xy", "xy", false},
    {"xsin(x)", "xsin * x", false},
    {"e(x + 1)", "e * (x + 1)", false},
    {"2PI(y)", "2PI * y", false},
    // Whole numbers beyond the 32-bit range saturate, however they are written.
    {"2.0", "2", false, 2},
    {"1e5", "100000", false, 100000},
    {"99999999999", "2147483647", false, 2147483647},
    {"-99999999999x", "-2147483647x", false, -2147483647.0 * 3},
    {"1e999999", "2147483647", false, 2147483647},
    {kManyNines, "2147483647", false, 2147483647},
    // What the parser or the model cannot read stays as typed, as one term.
    {"", "0", true},
    {" ", " ", true},
    {"x +", "x +", true},
    {"(x+1)^2", "(x+1)^2", true},
    {"(2*x)^2", "(2*x)^2", true},
    {"(x/2)^2", "(x/2)^2", true},
    {"-(a=b)", "-(a=b)", true},
    {"x2", "x2", true},
    {"7 % 2", "7 % 2", true},
    {"3!", "3!", true},
    {"$x", "$x", true},
    {"x)", "x)", true},
    // A power whose base brings a coefficient, a sign or an exponent of its own.
    {"(2x)^2", "(2x)^2", true},
    {"(-3)^2", "(-3)^2", true},
    {"(-x)^2", "(-x)^2", true},
    {"(x^2)^3", "(x^2)^3", true},
    {"2x^2^3", "2x^2^3", true},
    // An exponent that is not a whole number.
    {"x^2^3", "x^2^3", true},
    {"2^3^2", "2^3^2", true},
    {"2^x", "2^x", true},
    {"x^y", "x^y", true},
    {"x^1.5", "x^1.5", true},
    {"2^2x", "2^2x", true},
    {"2x^2.5", "2x^2.5", true},
    // A number with a fraction part.
    {"2.5", "2.5", true},
    {"2.5x", "2.5x", true},
    {"0.5", "0.5", true},
    {"0." + std::string(200, '0') + "1", nullptr, true},
    // A function of the evaluator.
    {"sin(x)", "sin(x)", true},
    {"2SIN(x)", "2SIN(x)", true},
    {"x + log(10)", "x + log(10)", true},
    {"nthroot(-8, 3)", "nthroot(-8, 3)", true},
    {"y - mod(x, 2)", "y - mod(x, 2)", true},
    // An equation is only ever the whole expression.
    {"a=b=c", "a=b=c", true},
    {"x + (a=b)", "x + (a=b)", true},
    {"2(a=b)", "2(a=b)", true},
    {"(a=b)/2", "(a=b)/2", true},
};

TEST(ExprTextReader, ReadsTheTextFormExactlyOrFails) {
    const testing::Point at = {{"x", 3}, {"y", 2}};
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        bool failed = !c.failed;
        ExprPtr expr = ExprTextReader::parseString(c.text, failed);
        ASSERT_TRUE(expr);
        EXPECT_EQ(failed, c.failed);
        EXPECT_EQ(expr->description(), c.description ? std::string(c.description) : c.text);
        if (!std::isnan(c.value)) {
            EXPECT_DOUBLE_EQ(testing::evaluate(*expr, at), c.value);
        }
    }
}

TEST(ExprTextReader, FallbackIsOneTermNamedByTheText) {
    auto term = asExactly<ExprSoloist>(ExprTextReader::parseString("x + "));
    ASSERT_TRUE(term);
    EXPECT_EQ(term->coef(), 1);
    EXPECT_EQ(term->var(), "x + ");
    EXPECT_EQ(term->exponent(), 1);
}

TEST(JTExpressionBridge, MapsOnlyWhatTheModelHolds) {
    auto convert = [](const char* text) {
        return convertToZMExpr(*JTExpression::expressionFromString(text).value());
    };
    ExprPtr product = convert("MULTIPLY(2,$x)");
    ASSERT_TRUE(isExactly<ExprProduct>(product));
    EXPECT_EQ(product->description(), "2 * x");
    EXPECT_EQ(convert("coefvarterm(2,$x^2)")->description(), "2x^2");
    EXPECT_EQ(convert("pow($x,2)")->description(), "x^2");
    for (const char* refused : {"coefvarterm(2,$x+1)", "coefvarterm(2)", "add(1)", "negate(1,2)", "sin(1)",
                                "1 < 2", "pow(2*$x,2)", "pow(2,$x/2)", "divide(1,2,3)", "2 == 3 == 4",
                                "coefvarterm(2,$x)^2", "pow(negate($x),2)", "coefvarterm(2.5,$x)", "coefvarterm(2,3)",
                                "coefvarterm(2,-$x)", "coefvarterm(2^2,$x)"}) {
        EXPECT_FALSE(convert(refused)) << refused;
    }
    // "==" is the same operator as "=": one equation is fine.
    EXPECT_EQ(convert("$a == $b")->description(), "a = b");
}

TEST(JTExpressionBridge, EveryConversionMakesNewNodes) {
    JTExpressionPtr parsed = JTExpression::expressionFromString("coefvarterm(3,$x)+2").value();
    ExprPtr first = convertToZMExpr(*parsed);
    ExprPtr second = convertToZMExpr(*parsed);
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->isExactMatch(*second));
    EXPECT_NE(first->exprId(), second->exprId());
    EXPECT_NE(first->children()[0]->exprId(), second->children()[0]->exprId());
}

TEST(ExprTextReader, TextFormReadsBackExactly) {
    testing::RandomTrees trees(1108);
    for (int i = 0; i < 4000; ++i) {
        ExprPtr tree = trees.root(3);
        ASSERT_TRUE(tree);
        const std::string text = tree->description();
        bool failed = true;
        ExprPtr read = ExprTextReader::parseString(text, failed);
        ASSERT_FALSE(failed) << text;
        ASSERT_TRUE(read->isExactMatch(*tree)) << text << " read back as " << read->description();
    }
}

} // namespace
} // namespace zm
