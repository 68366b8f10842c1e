#include "JTMathParser/JTExpression.h"

#include "JTMathParser/JTExpressionNodes.h"
#include "JTMathParser/JTParseError.h"
#include "JTMathParser/JTParser.h"
#include "JTMathParser/JTText.h"

#include <algorithm>
#include <cassert>

namespace zm {

core::Result<JTExpressionPtr> JTExpression::expressionFromString(std::string_view text) {
    core::Result<JTParser> parser = JTParser::make(text);
    if (!parser) {
        return parser.error();
    }
    return parser.value().parsedExpression();
}

JTExpressionPtr JTExpression::numberExpressionWithNumber(const JTNumber& number) {
    return std::make_shared<JTNumberExpression>(number);
}

JTExpressionPtr JTExpression::variableExpressionWithVariable(std::string_view variable) {
    if (variable.starts_with('$')) {
        variable.remove_prefix(1);
    }
    if (variable.empty()) {
        return nullptr;
    }
    return std::make_shared<JTVariableExpression>(std::string(variable));
}

core::Result<JTExpressionPtr>
JTExpression::functionExpressionWithFunction(std::string_view function,
                                             std::vector<JTExpressionPtr> arguments) {
    return JTFunctionExpression::make(function, std::move(arguments));
}

const JTNumber& JTExpression::number() const {
    assert(false && "This is not a numeric expression");
    static const JTNumber none;
    return none;
}

const std::string& JTExpression::function() const {
    assert(false && "This is not a function expression");
    static const std::string none;
    return none;
}

std::span<const JTExpressionPtr> JTExpression::arguments() const {
    assert(false && "This is not a function expression");
    return {};
}

const std::string& JTExpression::variable() const {
    assert(false && "This is not a variable expression");
    static const std::string none;
    return none;
}

bool JTExpression::isEqual(const JTExpression& other) const {
    if (this == &other) {
        return true;
    }
    if (expressionType() != other.expressionType()) {
        return false;
    }
    switch (expressionType()) {
    case JTExpressionKind::Number:
        return number().isEqualToNumber(other.number());
    case JTExpressionKind::Variable:
        return variable() == other.variable();
    case JTExpressionKind::Function:
        break;
    }
    return function() == other.function() &&
           std::equal(arguments().begin(), arguments().end(), other.arguments().begin(),
                      other.arguments().end(),
                      [](const JTExpressionPtr& a, const JTExpressionPtr& b) { return a->isEqual(*b); });
}

JTVariableExpression::JTVariableExpression(std::string variable)
    : JTExpression(1)
    , m_variable(std::move(variable)) {
    assert(!m_variable.empty());
}

JTFunctionExpression::JTFunctionExpression(Passkey, std::string_view function,
                                           std::vector<JTExpressionPtr> arguments, int depth)
    : JTExpression(depth)
    , m_function(lowercased(function))
    , m_arguments(std::move(arguments)) {}

core::Result<JTExpressionPtr> JTFunctionExpression::make(std::string_view function,
                                                         std::vector<JTExpressionPtr> arguments) {
    int deepestArgument = 0;
    for (const JTExpressionPtr& argument : arguments) {
        if (!argument) {
            return makeParseError(JTErrorInvalidArgument, "function arguments must be JTExpression objects");
        }
        deepestArgument = std::max(deepestArgument, argument->depth());
    }
    if (deepestArgument >= kMaxDepth) {
        return makeParseError(JTErrorInvalidFormat, "expression nested too deeply");
    }
    auto expression = std::make_shared<JTFunctionExpression>(Passkey{}, function, std::move(arguments),
                                                             deepestArgument + 1);
    for (const JTExpressionPtr& argument : expression->m_arguments) {
        argument->m_parent = expression;
    }
    return JTExpressionPtr(std::move(expression));
}

std::string JTFunctionExpression::description() const {
    std::string text = m_function + "(";
    for (std::size_t i = 0; i < m_arguments.size(); ++i) {
        if (i > 0) {
            text += ',';
        }
        text += m_arguments[i]->description();
    }
    return text + ")";
}

} // namespace zm
