#pragma once

#include "JTMathParser/JTExpression.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zm {

class JTMathEvaluator;

// A rule that rewrites an expression by its shape: a template with wildcards, a replacement,
// and an optional condition computed with the wildcards bound ("(__exp1 * __exp2) / __exp2"
// becomes "__exp1" when "__exp2 != 0").
//
// A wildcard is an argumentless call whose name starts with "__exp" (binds any expression),
// "__num" (a number), "__var" (a variable) or "__func" (a function); the whole name is its key.
// Rewriting is structural: only the condition is ever evaluated.
class JTRewriteRule {
public:
    // Bound wildcards: name to the matched node itself (not a copy).
    using Bindings = std::map<std::string, JTExpressionPtr, std::less<>>;

    // Null, after logging "error creating rule: ...", when a text (the condition included)
    // does not parse or the template is not a function expression.
    static std::unique_ptr<JTRewriteRule>
    rewriteRuleWithTemplate(std::string_view templateText, std::string_view replacementPattern,
                            std::optional<std::string_view> condition = std::nullopt);

    // The replacement when the rule matches the node itself, else the node. Null when the
    // replacement cannot be built (it would nest too deeply).
    JTExpressionPtr expressionByRewritingExpression(const JTExpressionPtr& expression,
                                                    JTMathEvaluator& evaluator) const;
    bool ruleMatchesExpression(const JTExpressionPtr& expression, JTMathEvaluator& evaluator) const;
    // Matches the template, filling the bindings, then tests the condition with them. A
    // condition that cannot be evaluated counts as false.
    bool matchExpression(const JTExpressionPtr& expression, Bindings& bindings,
                         JTMathEvaluator& evaluator) const;

    // "<JTRewriteRule: 0x...> (template => replacement)".
    std::string description() const;

private:
    JTRewriteRule(JTExpressionPtr predicate, JTExpressionPtr pattern, JTExpressionPtr condition)
        : m_predicate(std::move(predicate))
        , m_pattern(std::move(pattern))
        , m_condition(std::move(condition)) {}

    static bool ruleExpressionMatches(const JTExpressionPtr& rule, const JTExpressionPtr& expression,
                                      Bindings& bindings);
    static JTExpressionPtr applyBindings(const Bindings& bindings, const JTExpressionPtr& pattern);

    JTExpressionPtr m_predicate; // the template, a function expression
    JTExpressionPtr m_pattern;   // the replacement
    JTExpressionPtr m_condition; // null for a rule without one
};

} // namespace zm
