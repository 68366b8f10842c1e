#pragma once

#include "JTMathParser/JTEvaluation.h"
#include "JTMathParser/JTFunctionContainer.h"
#include "JTMathParser/JTRewriteRule.h"
#include "platform/core/Result.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zm {

// Computes the value of parse trees: every function expression is evaluated by looking its
// name up in the registry here and calling the function found. The registry starts with the
// built-in functions and the standard aliases (which callers can neither replace nor remove),
// takes the functions and aliases that callers add, and asks an optional resolver for names
// it does not know. An evaluator is used by one thread at a time.
class JTMathEvaluator {
public:
    JTMathEvaluator();
    ~JTMathEvaluator();
    JTMathEvaluator(const JTMathEvaluator&) = delete;
    JTMathEvaluator& operator=(const JTMathEvaluator&) = delete;

    // Serves every evaluation that names no evaluator; made on first use, kept for the process.
    static JTMathEvaluator& sharedMathEvaluator();

    // The names of the built-ins together with the standard aliases.
    static bool isStandardName(std::string_view name);

    // Refused (false) for a name that already resolves (in any case, or through the resolver)
    // or is a standard name.
    bool registerFunction(JTFunctionBlock function, std::string_view name);
    // Removes the function under all its names; a standard or unknown name changes nothing.
    void unregisterFunctionWithName(std::string_view name);
    // The function for a name or alias, else the resolver's answer; empty when neither knows it.
    JTFunctionBlock functionWithName(std::string_view name) const;
    // Every registered name and alias, lower-cased, in no particular order.
    std::vector<std::string> registeredFunctions() const;
    // Refused (false) when the alias already resolves or the function is not registered.
    bool addAlias(std::string_view alias, std::string_view functionName);
    // Unregisters the function that bears the alias (under all its names); standard names stay.
    void removeAlias(std::string_view alias);
    // Error 15 for a function expression whose name nothing resolves.
    core::Error functionExpressionFailedToResolve(const JTExpression& expression) const;

    // Parses the text and evaluates it with this evaluator.
    core::Result<JTNumber> evaluateString(std::string_view text,
                                          const JTSubstitutions* substitutions = nullptr);

    // Appends a rule after the standard ones; texts from which no rule can be made are logged
    // and change nothing.
    void addRewriteRule(std::string_view replacement, std::string_view templateText,
                        std::optional<std::string_view> condition = std::nullopt);
    // Applies every rule, in order and top-down, in passes until a pass changes nothing; after
    // kMaxRewritePasses changing passes it logs "ABORT: replacement limit reached" and answers
    // the expression from before the last pass. An expression that no rule matches is answered
    // as the same object; null when a replacement would nest too deeply.
    JTExpressionPtr expressionByRewritingExpression(const JTExpressionPtr& expression);
    static constexpr int kMaxRewritePasses = 256;

    const JTFunctionResolverBlock& functionResolver() const { return m_functionResolver; }
    void setFunctionResolver(JTFunctionResolverBlock resolver) { m_functionResolver = std::move(resolver); }

    // The registered function under an already lower-cased name, without the resolver and
    // without copying; valid until the registry changes.
    const JTFunctionBlock* registeredFunction(std::string_view lowercaseName) const;

private:
    JTFunctionContainer* functionContainerWithName(std::string_view name) const;
    void registerStandardFunctions();
    // The rule list, made with the standard rules on first use.
    std::vector<std::unique_ptr<JTRewriteRule>>& rewriteRules();
    JTExpressionPtr rewriteExpression(const JTExpressionPtr& expression, const JTRewriteRule& rule);

    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
    };

    std::vector<std::unique_ptr<JTFunctionContainer>> m_functions;
    std::unordered_map<std::string, JTFunctionContainer*, NameHash, std::equal_to<>> m_functionMap;
    JTFunctionResolverBlock m_functionResolver;
    // Parsed per evaluator: building a replacement links pattern nodes into new trees, so
    // evaluators on different threads must not share them.
    std::optional<std::vector<std::unique_ptr<JTRewriteRule>>> m_rewriteRules;
};

} // namespace zm
