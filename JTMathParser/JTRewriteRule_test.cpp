#include "JTMathParser/JTMathEvaluator.h"
#include "JTMathParser/JTParseError.h"
#include "JTMathParser/JTRewriteRule.h"
#include "platform/core/Log.h"

#include <string>

#include <gtest/gtest.h>

namespace zm {
namespace {

JTExpressionPtr parse(const std::string& text) {
    return JTExpression::expressionFromString(text).value();
}

struct RewriteCase {
    const char* input;
    const char* rewritten;
};

const RewriteCase kRewriteCases[] = {
    {"$x + 0", "$x"},
    {"0 + $x", "$x"},
    {"$x * 1", "$x"},
    {"1 * $x", "$x"},
    {"pow($x, 1)", "$x"},
    {"--$x", "$x"},
    {"dtor(rtod($x))", "$x"},
    {"$y - $y", "0"},
    {"0 * $y", "0"},
    {"$y * 0", "0"},
    {"pow($x, 0)", "1"},
    // Rewritten further in the same call: 2*$x puts its variable first.
    {"$x + $x", "multiply($x,2)"},
    {"$x * $x", "pow($x,2)"},
    {"exp($a) * exp($b)", "exp(add($a,$b))"},
    {"pow($a, 3) * pow($b, 3)", "pow(multiply($a,$b),3)"},
    {"sqrt(pow($x, 2))", "abs($x)"},
    {"abs(-$x)", "abs($x)"},
    // Conditions that cannot be evaluated (x is unbound) count as false.
    {"$x / $x", "divide($x,$x)"},
    {"(2 * $x) / $x", "divide(multiply($x,2),$x)"},
    {"5 / 5", "1"},
    {"(3 * 4) / 4", "3"},
    {"(4 * 3) / 4", "3"},
    {"4 / (4 * $x)", "divide(1,$x)"},
    {"0 / 0", "divide(0,0)"},
    {"nthroot(pow(-2, 3), 3)", "negate(2)"},
    {"nthroot(pow(-2, 2), 2)", "2"},
    {"abs(3)", "3"},
    {"abs($x)", "abs($x)"},
    {"$x - $y", "subtract($x,$y)"},
    // Rewriting works at every depth.
    {"sin(($x + 0) * 1) + cos(0 * $z)", "add(sin($x),cos(0))"},
};

TEST(JTRewriteRule, StandardRulesRewriteByShape) {
    JTMathEvaluator evaluator;
    for (const RewriteCase& c : kRewriteCases) {
        SCOPED_TRACE(c.input);
        JTExpressionPtr rewritten = evaluator.expressionByRewritingExpression(parse(c.input));
        ASSERT_TRUE(rewritten);
        EXPECT_EQ(rewritten->description(), c.rewritten);
    }
}

TEST(JTRewriteRule, UnmatchedExpressionIsTheSameObject) {
    JTMathEvaluator evaluator;
    for (const char* text : {"$x - $y", "abs($x)", "sin($x) + 2", "$x"}) {
        JTExpressionPtr expression = parse(text);
        EXPECT_EQ(evaluator.expressionByRewritingExpression(expression), expression) << text;
    }
}

TEST(JTRewriteRule, WildcardsBindByKind) {
    JTMathEvaluator evaluator;
    evaluator.addRewriteRule("1", "g(__num1)");
    evaluator.addRewriteRule("2", "g(__var1)");
    evaluator.addRewriteRule("3", "g(__func1)");
    evaluator.addRewriteRule("__exp2", "swap(__exp1, __exp2)");
    EXPECT_EQ(evaluator.expressionByRewritingExpression(parse("g(5) + g($x) * g(h())"))->description(),
              "add(1,multiply(2,3))");
    EXPECT_EQ(evaluator.expressionByRewritingExpression(parse("g(1 + $x)"))->description(), "3");
    EXPECT_EQ(evaluator.expressionByRewritingExpression(parse("g(1, 2)"))->description(), "g(1,2)");
    EXPECT_EQ(evaluator.expressionByRewritingExpression(parse("swap($a, sin($b))"))->description(),
              "sin($b)");

    // The replacement holds the matched nodes themselves.
    JTExpressionPtr expression = parse("swap($a, sin($b))");
    EXPECT_EQ(evaluator.expressionByRewritingExpression(expression), expression->arguments()[1]);
}

TEST(JTRewriteRule, EndlessRewritingStopsAtThePassLimit) {
    JTMathEvaluator evaluator;
    evaluator.addRewriteRule("f(__exp1)", "f(__exp1)");
    core::LogCapture log;
    JTExpressionPtr expression = parse("f($x)");
    JTExpressionPtr rewritten = evaluator.expressionByRewritingExpression(expression);
    ASSERT_TRUE(rewritten);
    EXPECT_NE(rewritten, expression);
    EXPECT_EQ(rewritten->description(), "f($x)");
    EXPECT_EQ(log.messages(), std::vector<std::string>{"ABORT: replacement limit reached"});
}

TEST(JTRewriteRule, RulesThatCannotBeMadeAreLoggedAndLeftOut) {
    JTMathEvaluator evaluator;
    core::LogCapture log;
    evaluator.addRewriteRule("2", "1");
    evaluator.addRewriteRule("2", "1 +");
    evaluator.addRewriteRule("2 +", "f(__exp1)");
    evaluator.addRewriteRule("2", "f(__exp1)", "__exp1 >");
    std::vector<std::string> messages = log.messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0], "error creating rule: (null)");
    for (std::size_t i = 1; i < messages.size(); ++i) {
        EXPECT_EQ(messages[i].rfind("error creating rule: ", 0), 0u);
        EXPECT_NE(messages[i].find(std::string(JTParseErrorDomain)), std::string::npos);
    }
    // No empty entry went into the list: rewriting still runs over every rule.
    EXPECT_EQ(evaluator.expressionByRewritingExpression(parse("f($x) + 0"))->description(), "f($x)");
}

TEST(JTRewriteRule, MatchesAndDescribesItself) {
    JTMathEvaluator evaluator;
    std::unique_ptr<JTRewriteRule> rule =
        JTRewriteRule::rewriteRuleWithTemplate("(__exp1 * __exp2) / __exp2", "__exp1", "__exp2 != 0");
    ASSERT_TRUE(rule);
    EXPECT_TRUE(rule->ruleMatchesExpression(parse("(3 * 4) / 4"), evaluator));
    EXPECT_FALSE(rule->ruleMatchesExpression(parse("(3 * 0) / 0"), evaluator));
    EXPECT_FALSE(rule->ruleMatchesExpression(parse("(3 * $x) / $x"), evaluator));
    JTRewriteRule::Bindings bindings;
    EXPECT_TRUE(rule->matchExpression(parse("($a * 4) / 4"), bindings, evaluator));
    EXPECT_EQ(bindings.at("__exp1")->description(), "$a");
    EXPECT_EQ(bindings.at("__exp2")->description(), "4");

    std::string description = rule->description();
    EXPECT_EQ(description.rfind("<JTRewriteRule: 0x", 0), 0u);
    EXPECT_NE(description.find("> (divide(multiply(__exp1(),__exp2()),__exp2()) => __exp1())"),
              std::string::npos);
}

TEST(JTRewriteRule, ConditionVariablesNamedLikeWildcardsDoNotLoop) {
    JTMathEvaluator evaluator;
    JTExpressionPtr expression = parse("$__exp1 / $__exp1");
    EXPECT_EQ(evaluator.expressionByRewritingExpression(expression), expression);
}

TEST(JTExpressionSimplification, NumbersFoldAndTheRestIsRebuilt) {
    JTExpressionPtr sum = parse("1+2");
    JTExpressionPtr folded = sum->simplifiedExpression();
    ASSERT_TRUE(folded);
    EXPECT_EQ(folded->expressionType(), JTExpressionKind::Number);
    EXPECT_EQ(folded->description(), "3");

    JTExpressionPtr withVariable = parse("$x+2");
    JTExpressionPtr rebuilt = withVariable->simplifiedExpression();
    EXPECT_NE(rebuilt, withVariable);
    EXPECT_EQ(*rebuilt, *withVariable);
    EXPECT_EQ(parse("sin(0) * $x + (2 + 3)")->simplifiedExpression()->description(), "add(multiply(0,$x),5)");
    EXPECT_EQ(parse("unknownfn(1 + 1)")->simplifiedExpression()->description(), "unknownfn(2)");

    JTExpressionPtr x = parse("$x");
    EXPECT_EQ(x->simplifiedExpression(), x);

    core::Result<JTNumber> unbound = withVariable->evaluateWithSubstitutions(nullptr, nullptr);
    ASSERT_FALSE(unbound);
    EXPECT_EQ(unbound.error().code, JTErrorUnresolvedVariable);
    EXPECT_EQ(unbound.error().description, "unable to resolve variable: $x");
}

} // namespace
} // namespace zm
