#include "JTMathParser/JTExpression.h"
#include "JTMathParser/JTParseError.h"
#include "JTMathParser/JTParser.h"

#include <string>

#include <gtest/gtest.h>

namespace zm {
namespace {

struct ParseCase {
    std::string input;
    // The description of the parse, or the error's text when `code` is not 0.
    std::string expected;
    int code = 0;
};

const ParseCase kParseCases[] = {
    {"1+2*3", "add(1,multiply(2,3))"},
    {"1+2*$x", "add(1,multiply(2,$x))"},
    {"2^3^2", "pow(2,pow(3,2))"},
    {"8/4/2", "divide(divide(8,4),2)"},
    {"1-2-3", "subtract(subtract(1,2),3)"},
    {"1-2+3", "add(subtract(1,2),3)"},
    {"-2^2", "negate(pow(2,2))"},
    {"2*-3", "multiply(2,negate(3))"},
    {"2^-3", "pow(2,negate(3))"},
    {"2^--3", "pow(2,negate(negate(3)))"},
    {"--2", "negate(negate(2))"},
    {"3!", "factorial(3)"},
    {"2^3!", "factorial(pow(2,3))"},
    {"(1+2)*3", "multiply(add(1,2),3)"},
    {"(1)(2)", "multiply(1,2)"},
    {"coefvarterm(2,$x)^2", "pow(coefvarterm(2,$x),2)"},
    {"$a+$b=$c", "l_eq(add($a,$b),$c)"},
    {"1<2>3", "l_lt(1,l_gt(2,3))"},
    {"x2()", "x2()"},
    {"x2", "x2()"},
    {"x2(1,)", "x2(1)"},
    {"x2(1+2,3)", "x2(add(1,2),3)"},
    {"MULTIPLY(1,2)", "multiply(1,2)"},
    {"sin(\u03C0)", "sin(\u03C0())"},
    {"90\u00B0", "dtor(90)"},
    {"2.50", "2.5"},
    {"1e3", "1000"},
    {"2$x", "multiply(2,$x)"},
    {"!$x", "l_not($x)"},
    {"~1", "not(1)"},
    {"2 ** 3", "xor(2,3)"},
    {"7 % 4", "modulo(7,4)"},
    {"1 || 0 && 1", "l_or(1,l_and(0,1))"},
    // Failures.
    {"2+", "no right operand to binary +", JTErrorBinaryMissingRight},
    {"*2", "no left operand to binary *", JTErrorBinaryMissingLeft},
    {"(1+2", "imbalanced parentheses", JTErrorImbalancedParentheses},
    {"x2(1", "missing parentheses after function \"x2\"", JTErrorImbalancedParentheses},
    {"x2((1)", "missing parentheses after function \"x2\"", JTErrorImbalancedParentheses},
    {"1)+2", "imbalanced parentheses", JTErrorImbalancedParentheses},
    {")", "imbalanced parentheses", JTErrorImbalancedParentheses},
    {"", "Unable to create expression from term: ()", JTErrorInvalidFormat},
    {"   ", "Unable to create expression from term: ()", JTErrorInvalidFormat},
    {"()", "Unable to create expression from term: ()", JTErrorInvalidFormat},
    {"x2(,)", "Unable to create expression from term: ()", JTErrorInvalidFormat},
    {"x2(,1)", "Unable to create expression from term: ()", JTErrorInvalidFormat},
    {"1,2", "unknown arity for operator: ,", JTErrorUnknownArity},
    {"(-)", "no right operand to unary -", JTErrorUnaryMissingRight},
    {"!", "no right operand to unary !", JTErrorUnaryMissingRight},
    {"x2(3!!,\u00B0)", "no left operand to unary \u00B0", JTErrorUnaryMissingLeft},
    {"x2(*)", "missing operands for operator: *", JTErrorMissingOperands},
    {"-*2", "invalid format: (negate(*)2)", JTErrorInvalidFormat},
    {"2^-", "no right operand to unary -", JTErrorUnaryMissingRight},
    {"1 # 2", "# is not a valid operator", JTErrorInvalidOperatorCharacter},
};

TEST(JTParser, ParsesOrFailsWithTheFirstError) {
    for (const ParseCase& c : kParseCases) {
        SCOPED_TRACE(c.input);
        core::Result<JTExpressionPtr> parsed = JTExpression::expressionFromString(c.input);
        if (c.code == 0) {
            ASSERT_TRUE(parsed) << parsed.error().description;
            EXPECT_EQ(parsed.value()->description(), c.expected);
        } else {
            ASSERT_FALSE(parsed) << parsed.value()->description();
            EXPECT_EQ(parsed.error().domain, JTParseErrorDomain);
            EXPECT_EQ(parsed.error().code, c.code);
            EXPECT_EQ(parsed.error().description, c.expected);
        }
    }
}

TEST(JTParser, ParsesAgainFromTheStart) {
    JTParser parser = *JTParser::make("1+2");
    core::Result<JTExpressionPtr> first = parser.parsedExpression();
    core::Result<JTExpressionPtr> second = parser.parsedExpression();
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.value(), second.value());
    EXPECT_EQ(*first.value(), *second.value());
}

TEST(JTParser, PerParserAssociativityDecidesTies) {
    JTParser parser = *JTParser::make("2^3^2");
    parser.setAssociativity(JTOperatorGroup::Power, JTAssociativity::Left);
    EXPECT_EQ(parser.parsedExpression().value()->description(), "pow(pow(2,3),2)");
    EXPECT_EQ(JTExpression::expressionFromString("2^3^2").value()->description(), "pow(2,pow(3,2))");
}

// Deep or long texts end in an error or a tree, never in a stack overflow or a long stall.
TEST(JTParser, NestingIsBounded) {
    const std::size_t n = 100000;
    const std::string deepInputs[] = {
        std::string(n, '(') + "1" + std::string(n, ')'),
        std::string(n, '-') + "1",
        "2^" + std::string(n, '-') + "1",
        [&] {
            std::string sum;
            for (std::size_t i = 0; i < n / 5; ++i) {
                sum += "1*2+";
            }
            return sum + "1";
        }(),
        [&] {
            std::string call;
            for (std::size_t i = 0; i < n / 4; ++i) {
                call += "f(";
            }
            return call;
        }(),
    };
    for (const std::string& input : deepInputs) {
        SCOPED_TRACE(input.substr(0, 20));
        core::Result<JTExpressionPtr> parsed = JTExpression::expressionFromString(input);
        ASSERT_FALSE(parsed);
        EXPECT_TRUE(parsed.error().code == JTErrorInvalidFormat ||
                    parsed.error().code == JTErrorImbalancedParentheses);
    }
    std::string nested = std::string(JTExpression::kMaxDepth - 1, '-') + "1";
    ASSERT_TRUE(JTExpression::expressionFromString(nested));

    const std::size_t width = n / 5;
    std::string wide = "f(1";
    for (std::size_t i = 0; i < width; ++i) {
        wide += ",1";
    }
    core::Result<JTExpressionPtr> call = JTExpression::expressionFromString(wide + ")");
    ASSERT_TRUE(call);
    EXPECT_EQ(call.value()->arguments().size(), width + 1);
}

TEST(JTExpression, FactoriesAndEquality) {
    EXPECT_EQ(JTExpression::variableExpressionWithVariable("$"), nullptr);
    EXPECT_EQ(JTExpression::variableExpressionWithVariable(""), nullptr);
    EXPECT_EQ(JTExpression::variableExpressionWithVariable("$$x")->description(), "$$x");
    EXPECT_EQ(JTExpression::variableExpressionWithVariable("$x")->variable(), "x");

    auto one = JTExpression::numberExpressionWithNumber(JTNumber::fromInt32(1));
    auto two = JTExpression::numberExpressionWithNumber(JTNumber::fromDouble(2));
    JTExpressionPtr upper = JTExpression::functionExpressionWithFunction("MULTIPLY", {one, two}).value();
    EXPECT_EQ(upper->description(), "multiply(1,2)");
    EXPECT_EQ(upper->function(), "multiply");
    EXPECT_EQ(*upper, *JTExpression::expressionFromString("multiply(1,2)").value());
    EXPECT_EQ(*JTExpression::expressionFromString("1+2").value(),
              *JTExpression::expressionFromString("1+2").value());
    EXPECT_FALSE(*JTExpression::expressionFromString("1+2").value() ==
                 *JTExpression::expressionFromString("2+1").value());
    EXPECT_FALSE(*JTExpression::expressionFromString("$x").value() ==
                 *JTExpression::expressionFromString("x").value());

    core::Result<JTExpressionPtr> withNull =
        JTExpression::functionExpressionWithFunction("f", {one, nullptr});
    ASSERT_FALSE(withNull);
    EXPECT_EQ(withNull.error().code, JTErrorInvalidArgument);
    EXPECT_EQ(withNull.error().description, "function arguments must be JTExpression objects");
}

TEST(JTExpression, ParentIsTheLatestHolder) {
    JTExpressionPtr sum = JTExpression::expressionFromString("1+$x").value();
    EXPECT_EQ(sum->parentExpression(), nullptr);
    JTExpressionPtr x = sum->arguments()[1];
    EXPECT_EQ(x->parentExpression(), sum);

    JTExpressionPtr wrapped = JTExpression::functionExpressionWithFunction("abs", {x}).value();
    EXPECT_EQ(x->parentExpression(), wrapped);
    wrapped.reset();
    EXPECT_EQ(x->parentExpression(), nullptr);
}

TEST(JTExpression, DepthIsBounded) {
    JTExpressionPtr tree = JTExpression::numberExpressionWithNumber(JTNumber::fromInt32(1));
    for (int depth = 1; depth < JTExpression::kMaxDepth; ++depth) {
        tree = JTExpression::functionExpressionWithFunction("negate", {tree}).value();
    }
    EXPECT_EQ(tree->depth(), JTExpression::kMaxDepth);
    core::Result<JTExpressionPtr> deeper = JTExpression::functionExpressionWithFunction("negate", {tree});
    ASSERT_FALSE(deeper);
    EXPECT_EQ(deeper.error().description, "expression nested too deeply");
}

} // namespace
} // namespace zm
