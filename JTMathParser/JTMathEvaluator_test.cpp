#include "JTMathParser/JTExpression.h"
#include "JTMathParser/JTMathEvaluator.h"
#include "JTMathParser/JTParseError.h"
#include "JTMathParser/JTStringEvaluation.h"
#include "platform/core/Log.h"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

namespace zm {
namespace {

JTFunctionBlock constant(JTValue answer) {
    return [answer](std::span<const JTExpressionPtr>, const JTSubstitutions*,
                    JTMathEvaluator&) -> core::Result<JTValue> { return answer; };
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(JTMathEvaluator, StandardNamesCannotBeTakenOrRemoved) {
    JTMathEvaluator evaluator;
    for (const char* name : {"sin", "SIN", "avg", "modulo"}) {
        EXPECT_FALSE(evaluator.registerFunction(constant(JTNumber::fromInt32(1)), name)) << name;
    }
    evaluator.unregisterFunctionWithName("sin");
    evaluator.removeAlias("avg");
    EXPECT_EQ(evaluator.evaluateString("sin(0) + avg(2, 4)").value().doubleValue(), 3);
    EXPECT_TRUE(contains(evaluator.registeredFunctions(), "avg"));
}

TEST(JTMathEvaluator, RegistersAliasesAndUnregistersUnderAllNames) {
    JTMathEvaluator evaluator;
    EXPECT_TRUE(evaluator.registerFunction(constant(JTNumber::fromInt32(7)), "Foo"));
    EXPECT_FALSE(evaluator.registerFunction(constant(JTNumber::fromInt32(8)), "FOO"));
    EXPECT_TRUE(evaluator.addAlias("bar", "foo"));
    EXPECT_FALSE(evaluator.addAlias("bar", "foo"));
    EXPECT_FALSE(evaluator.addAlias("baz", "no such function"));
    EXPECT_FALSE(evaluator.addAlias("sin", "foo"));
    std::vector<std::string> names = evaluator.registeredFunctions();
    EXPECT_TRUE(contains(names, "foo") && contains(names, "bar"));
    EXPECT_FALSE(contains(names, "baz"));
    EXPECT_EQ(evaluator.evaluateString("BAR(1) + foo()").value().doubleValue(), 14);

    evaluator.unregisterFunctionWithName("FOO");
    names = evaluator.registeredFunctions();
    EXPECT_FALSE(contains(names, "foo") || contains(names, "bar"));
    core::Result<JTNumber> gone = evaluator.evaluateString("bar(1)");
    ASSERT_FALSE(gone);
    EXPECT_EQ(gone.error().code, JTErrorUnresolvedFunction);
    EXPECT_EQ(gone.error().userInfo.at(std::string(JTFunctionNameKey)), "bar");

    // Removing an alias removes the function that bears it.
    ASSERT_TRUE(evaluator.registerFunction(constant(JTNumber::fromInt32(7)), "foo"));
    ASSERT_TRUE(evaluator.addAlias("bar", "foo"));
    evaluator.removeAlias("BAR");
    EXPECT_FALSE(evaluator.functionWithName("foo"));
    // The shared evaluator saw none of it.
    EXPECT_FALSE(JTMathEvaluator::sharedMathEvaluator().functionWithName("foo"));
}

TEST(JTMathEvaluator, ResolverAnswersUnknownNames) {
    JTMathEvaluator evaluator;
    std::string asked;
    evaluator.setFunctionResolver([&asked](std::string_view name) -> JTFunctionBlock {
        asked = name;
        return name == "foo" ? constant(JTNumber::fromInt32(3)) : JTFunctionBlock();
    });
    EXPECT_FALSE(evaluator.registerFunction(constant(JTNumber::fromInt32(1)), "foo"));
    EXPECT_EQ(evaluator.evaluateString("FOO(1) * 2").value().doubleValue(), 6);
    EXPECT_EQ(asked, "foo");
    core::Result<JTNumber> unknown = evaluator.evaluateString("unknownfn(1)");
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.error().description, "unable to resolve function: unknownfn");
}

TEST(JTMathEvaluator, FunctionAnswersAreEvaluatedByKind) {
    JTMathEvaluator evaluator;
    ASSERT_TRUE(evaluator.registerFunction(constant(std::string("$x * 2")), "text"));
    ASSERT_TRUE(
        evaluator.registerFunction(constant(JTExpression::expressionFromString("1 + 1").value()), "tree"));
    ASSERT_TRUE(evaluator.registerFunction(constant(JTExpressionPtr()), "nothing"));
    JTSubstitutions substitutions{{"x", JTNumber::fromInt32(5)}};
    EXPECT_EQ(evaluator.evaluateString("text() + tree()", &substitutions).value().doubleValue(), 12);

    core::Result<JTNumber> invalid = evaluator.evaluateString("nothing()");
    ASSERT_FALSE(invalid);
    EXPECT_EQ(invalid.error().code, JTErrorInvalidReturnType);
    EXPECT_EQ(invalid.error().description, "invalid return type from nothing function");
}

TEST(JTMathEvaluator, VariablesTakeTheirSubstitution) {
    JTSubstitutions substitutions{
        {"n", JTNumber::fromInt32(4)},
        {"e", JTExpression::expressionFromString("$n + 1").value()},
        {"t", std::string("$e * 10")},
        {"null", JTExpressionPtr()},
        {"self", std::string("$self + 1")},
        {"ping", std::string("$pong")},
        {"pong", JTExpression::expressionFromString("$ping").value()},
    };
    EXPECT_EQ(numberByEvaluatingString("$t + $n", &substitutions)->doubleValue(), 54);

    for (const char* name : {"missing", "null"}) {
        core::Result<JTNumber> unresolved =
            numberByEvaluatingStringWithSubstitutions("$" + std::string(name), &substitutions);
        ASSERT_FALSE(unresolved);
        EXPECT_EQ(unresolved.error().code, JTErrorUnresolvedVariable);
        EXPECT_EQ(unresolved.error().description, "unable to resolve variable: $" + std::string(name));
        EXPECT_EQ(unresolved.error().userInfo.at(std::string(JTVariableNameKey)), name);
    }
    // A variable bound to itself fails instead of recursing for ever.
    for (const char* cycle : {"$self", "$ping"}) {
        core::Result<JTNumber> endless = numberByEvaluatingStringWithSubstitutions(cycle, &substitutions);
        ASSERT_FALSE(endless);
        EXPECT_EQ(endless.error().description, "evaluation nested too deeply");
    }
}

TEST(JTMathEvaluator, TextEvaluationLogsWhatItCannotAnswer) {
    core::LogCapture log;
    EXPECT_FALSE(numberByEvaluatingString("1 +"));
    ASSERT_EQ(log.messages().size(), 1u);
    EXPECT_EQ(log.messages()[0].rfind("error: ", 0), 0u);
    EXPECT_NE(log.messages()[0].find("no right operand to binary +"), std::string::npos);
    EXPECT_EQ(numberByEvaluatingString("2 * 3")->doubleValue(), 6);
}

} // namespace
} // namespace zm
