#include "JTMathParser/JTRewriteRule.h"

#include "JTMathParser/JTMathEvaluator.h"
#include "platform/core/Log.h"

#include <cstdio>

namespace zm {

namespace {

bool isWildcardFor(const std::string& name, const JTExpression& expression) {
    if (name.starts_with("__exp")) {
        return true;
    }
    JTExpressionKind kind = expression.expressionType();
    return (name.starts_with("__num") && kind == JTExpressionKind::Number) ||
           (name.starts_with("__var") && kind == JTExpressionKind::Variable) ||
           (name.starts_with("__func") && kind == JTExpressionKind::Function);
}

} // namespace

std::unique_ptr<JTRewriteRule>
JTRewriteRule::rewriteRuleWithTemplate(std::string_view templateText, std::string_view replacementPattern,
                                       std::optional<std::string_view> condition) {
    std::optional<core::Error> error;
    auto parse = [&error](std::string_view text) -> JTExpressionPtr {
        core::Result<JTExpressionPtr> parsed = JTExpression::expressionFromString(text);
        if (!parsed) {
            error = parsed.error();
            return nullptr;
        }
        return parsed.value();
    };
    JTExpressionPtr predicate = parse(templateText);
    JTExpressionPtr pattern = predicate ? parse(replacementPattern) : nullptr;
    JTExpressionPtr conditionExpression = pattern && condition ? parse(*condition) : nullptr;
    if (!predicate || !pattern || (condition && !conditionExpression) ||
        predicate->expressionType() != JTExpressionKind::Function) {
        core::log(core::LogLevel::Error,
                  "error creating rule: " + (error ? error->text() : std::string("(null)")));
        return nullptr;
    }
    return std::unique_ptr<JTRewriteRule>(
        new JTRewriteRule(std::move(predicate), std::move(pattern), std::move(conditionExpression)));
}

bool JTRewriteRule::ruleExpressionMatches(const JTExpressionPtr& rule, const JTExpressionPtr& expression,
                                          Bindings& bindings) {
    if (rule->expressionType() != JTExpressionKind::Function) {
        return rule->isEqual(*expression);
    }
    const std::string& name = rule->function();
    if (isWildcardFor(name, *expression)) {
        auto [bound, added] = bindings.try_emplace(name, expression);
        return added || bound->second->isEqual(*expression);
    }
    if (expression->expressionType() != JTExpressionKind::Function || expression->function() != name ||
        expression->arguments().size() != rule->arguments().size()) {
        return false;
    }
    for (std::size_t i = 0; i < rule->arguments().size(); ++i) {
        if (!ruleExpressionMatches(rule->arguments()[i], expression->arguments()[i], bindings)) {
            return false;
        }
    }
    return true;
}

JTExpressionPtr JTRewriteRule::applyBindings(const Bindings& bindings, const JTExpressionPtr& pattern) {
    if (pattern->expressionType() != JTExpressionKind::Function) {
        return pattern;
    }
    if (auto bound = bindings.find(pattern->function()); bound != bindings.end()) {
        return bound->second;
    }
    std::vector<JTExpressionPtr> arguments;
    arguments.reserve(pattern->arguments().size());
    for (const JTExpressionPtr& argument : pattern->arguments()) {
        JTExpressionPtr built = applyBindings(bindings, argument);
        if (!built) {
            return nullptr;
        }
        arguments.push_back(std::move(built));
    }
    core::Result<JTExpressionPtr> function =
        JTExpression::functionExpressionWithFunction(pattern->function(), std::move(arguments));
    return function ? function.value() : nullptr;
}

bool JTRewriteRule::matchExpression(const JTExpressionPtr& expression, Bindings& bindings,
                                    JTMathEvaluator& evaluator) const {
    if (!ruleExpressionMatches(m_predicate, expression, bindings)) {
        return false;
    }
    if (!m_condition) {
        return true;
    }
    JTExpressionPtr condition = applyBindings(bindings, m_condition);
    if (!condition) {
        return false;
    }
    JTSubstitutions substitutions;
    for (const auto& [name, bound] : bindings) {
        substitutions.emplace(name, bound);
    }
    core::Result<JTNumber> value = condition->evaluateWithSubstitutions(&substitutions, &evaluator);
    return value && value.value().boolValue();
}

bool JTRewriteRule::ruleMatchesExpression(const JTExpressionPtr& expression,
                                          JTMathEvaluator& evaluator) const {
    Bindings bindings;
    return matchExpression(expression, bindings, evaluator);
}

JTExpressionPtr JTRewriteRule::expressionByRewritingExpression(const JTExpressionPtr& expression,
                                                               JTMathEvaluator& evaluator) const {
    Bindings bindings;
    if (!matchExpression(expression, bindings, evaluator)) {
        return expression;
    }
    return applyBindings(bindings, m_pattern);
}

std::string JTRewriteRule::description() const {
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return "<JTRewriteRule: " + std::string(address) + "> (" + m_predicate->description() + " => " +
           m_pattern->description() + ")";
}

} // namespace zm
