#pragma once

#include "JTMathParser/JTEvaluation.h"
#include "JTMathParser/JTFunctionContainer.h"
#include "platform/core/Result.h"

#include <memory>
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

    const JTFunctionResolverBlock& functionResolver() const { return m_functionResolver; }
    void setFunctionResolver(JTFunctionResolverBlock resolver) { m_functionResolver = std::move(resolver); }

    // The registered function under an already lower-cased name, without the resolver and
    // without copying; valid until the registry changes.
    const JTFunctionBlock* registeredFunction(std::string_view lowercaseName) const;

private:
    JTFunctionContainer* functionContainerWithName(std::string_view name) const;
    void registerStandardFunctions();

    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
    };

    std::vector<std::unique_ptr<JTFunctionContainer>> m_functions;
    std::unordered_map<std::string, JTFunctionContainer*, NameHash, std::equal_to<>> m_functionMap;
    JTFunctionResolverBlock m_functionResolver;
};

} // namespace zm
