#include "JTMathParser/ExprTextReader.h"
#include "JTMathParser/JTExpressionBridge.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/testing/RandomTrees.h"

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
        {"x2", "x2"},
        {"ab2", "$ab2"},
        {"AB", "$AB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExprTextReader::preparedText(c.text), c.prepared) << c.text;
    }
}

struct ReadCase {
    const char* text;
    const char* description; // the text form of what is read
    bool failed;
};

const ReadCase kReadCases[] = {
    {"3x + 2", "3x + 2", false},
    {"x + -3", "x + -3", false},
    {"2x^2", "2x^2", false},
    {"(2x)^2", "2x^2", false},
    {"x^y", "x", false},
    {"3^2", "3^2", false},
    {"2^x", "2", false},
    {"x^-1", "x^-1", false},
    {"x^2^3", "x^2", false},
    {"x/2", "x / 2", false},
    {"a=b", "a = b", false},
    {"2-x", "2 + -1x", false},
    {"-x", "-1x", false},
    {"3x+2=11", "3x + 2 = 11", false},
    {"2(x + 1) = 10", "2 * (x + 1) = 10", false},
    {"1 + 2 + 3", "1 + 2 + 3", false},
    {"x / 2 + 1", "x / 2 + 1", false},
    {"2.5", "2", false},
    {"0.5", "0", false},
    // Beyond the 32-bit range a number saturates.
    {"99999999999", "2147483647", false},
    {"-99999999999x", "-2147483647x", false},
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
    // An equation is only ever the whole expression.
    {"a=b=c", "a=b=c", true},
    {"x + (a=b)", "x + (a=b)", true},
    {"2(a=b)", "2(a=b)", true},
    {"(a=b)/2", "(a=b)/2", true},
};

TEST(ExprTextReader, ReadsTheTextForm) {
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.text);
        bool failed = !c.failed;
        ExprPtr expr = ExprTextReader::parseString(c.text, failed);
        ASSERT_TRUE(expr);
        EXPECT_EQ(failed, c.failed);
        EXPECT_EQ(expr->description(), c.description);
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
    EXPECT_EQ(convert("coefvarterm(2,$x)^2")->description(), "2x^2");
    for (const char* refused : {"coefvarterm(2,$x+1)", "coefvarterm(2)", "add(1)", "negate(1,2)", "sin(1)",
                                "1 < 2", "pow(2*$x,2)", "pow(2,$x/2)", "divide(1,2,3)", "2 == 3 == 4"}) {
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
