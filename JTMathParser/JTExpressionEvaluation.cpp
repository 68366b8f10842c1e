// Evaluation and simplification of the parse tree's nodes (numbers evaluate inline in
// JTExpressionNodes.h).
#include "JTMathParser/JTExpressionNodes.h"
#include "JTMathParser/JTMathEvaluator.h"
#include "JTMathParser/JTParseError.h"
#include "platform/core/Log.h"

#include <algorithm>

namespace zm {

namespace {

thread_local int t_evaluationDepth = 0;

// Counts the nesting of evaluations on this thread, so that a variable bound to itself (or a
// function that evaluates its own caller) ends in an error instead of exhausting the stack.
class EvaluationScope {
public:
    EvaluationScope() { ++t_evaluationDepth; }
    ~EvaluationScope() { --t_evaluationDepth; }
    EvaluationScope(const EvaluationScope&) = delete;
    EvaluationScope& operator=(const EvaluationScope&) = delete;

    bool tooDeep() const { return t_evaluationDepth > JTExpression::kMaxEvaluationDepth; }
    static core::Error error() {
        return makeParseError(JTErrorInvalidFormat, "evaluation nested too deeply");
    }
};

JTMathEvaluator& evaluatorOrShared(JTMathEvaluator* evaluator) {
    return evaluator ? *evaluator : JTMathEvaluator::sharedMathEvaluator();
}

// The number of a function's answer or a variable's value; nothing for a null expression.
std::optional<core::Result<JTNumber>> numberOf(const JTValue& value, const JTSubstitutions* substitutions,
                                               JTMathEvaluator& evaluator) {
    if (const auto* expression = std::get_if<JTExpressionPtr>(&value)) {
        if (!*expression) {
            return std::nullopt;
        }
        return (*expression)->evaluateWithSubstitutions(substitutions, &evaluator);
    }
    if (const auto* number = std::get_if<JTNumber>(&value)) {
        return core::Result<JTNumber>(*number);
    }
    return evaluator.evaluateString(std::get<std::string>(value), substitutions);
}

} // namespace

core::Result<JTNumber> JTVariableExpression::evaluateWithSubstitutions(const JTSubstitutions* substitutions,
                                                                       JTMathEvaluator* evaluator) const {
    EvaluationScope scope;
    if (scope.tooDeep()) {
        return EvaluationScope::error();
    }
    if (substitutions) {
        if (auto found = substitutions->find(m_variable); found != substitutions->end()) {
            if (auto number = numberOf(found->second, substitutions, evaluatorOrShared(evaluator))) {
                return *number;
            }
        }
    }
    core::Error error =
        makeParseError(JTErrorUnresolvedVariable, "unable to resolve variable: " + description());
    error.userInfo[std::string(JTVariableNameKey)] = m_variable;
    return error;
}

core::Result<JTNumber> JTFunctionExpression::evaluateWithSubstitutions(const JTSubstitutions* substitutions,
                                                                       JTMathEvaluator* evaluator) const {
    EvaluationScope scope;
    if (scope.tooDeep()) {
        return EvaluationScope::error();
    }
    JTMathEvaluator& chosen = evaluatorOrShared(evaluator);
    // A copy: the function may change the registry while it runs.
    const JTFunctionBlock* registered = chosen.registeredFunction(m_function);
    JTFunctionBlock function = registered ? *registered : chosen.functionWithName(m_function);
    if (!function) {
        return chosen.functionExpressionFailedToResolve(*this);
    }
    core::Result<JTValue> answer = function(m_arguments, substitutions, chosen);
    if (!answer) {
        return answer.error();
    }
    if (auto number = numberOf(answer.value(), substitutions, chosen)) {
        return *number;
    }
    return makeParseError(JTErrorInvalidReturnType, "invalid return type from " + m_function + " function");
}

core::Result<JTExpressionPtr> JTExpression::simplifiedExpressionWithEvaluator(JTMathEvaluator*) const {
    return shared_from_this();
}

JTExpressionPtr JTExpression::simplifiedExpression() const {
    core::Result<JTExpressionPtr> simplified = simplifiedExpressionWithEvaluator(nullptr);
    if (!simplified) {
        core::log(core::LogLevel::Error, "error: " + simplified.error().text());
        return nullptr;
    }
    return simplified.value();
}

core::Result<JTExpressionPtr>
JTFunctionExpression::simplifiedExpressionWithEvaluator(JTMathEvaluator* evaluator) const {
    std::vector<JTExpressionPtr> arguments;
    arguments.reserve(m_arguments.size());
    for (const JTExpressionPtr& argument : m_arguments) {
        core::Result<JTExpressionPtr> simplified = argument->simplifiedExpressionWithEvaluator(evaluator);
        if (!simplified) {
            return simplified;
        }
        arguments.push_back(simplified.value());
    }
    bool allNumbers = std::all_of(arguments.begin(), arguments.end(), [](const JTExpressionPtr& argument) {
        return argument->expressionType() == JTExpressionKind::Number;
    });
    if (allNumbers) {
        if (core::Result<JTNumber> value = evaluateWithSubstitutions(nullptr, evaluator)) {
            return numberExpressionWithNumber(value.value());
        }
    }
    return functionExpressionWithFunction(m_function, std::move(arguments));
}

} // namespace zm
