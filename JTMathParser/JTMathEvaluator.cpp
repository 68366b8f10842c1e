#include "JTMathParser/JTMathEvaluator.h"

#include "JTMathParser/JTBuiltinFunctions.h"
#include "JTMathParser/JTExpression.h"
#include "JTMathParser/JTParseError.h"
#include "JTMathParser/JTParser.h"

#include <cassert>
#include <set>

namespace zm {

namespace {

struct StandardAlias {
    std::string_view alias;
    std::string_view function;
};

constexpr StandardAlias kStandardAliases[] = {
    {"avg", "average"},  {"mean", "average"}, {"trunc", "floor"}, {"\u03C0", "pi"},  {"tau_2", "pi"},
    {"\u03C4", "tau"},   {"\u03D5", "phi"},   {"vers", "versin"}, {"ver", "versin"}, {"vercos", "vercosin"},
    {"cvs", "coversin"}, {"chord", "crd"},    {"modulo", "mod"},
};

const std::set<std::string, std::less<>>& standardNames() {
    static const std::set<std::string, std::less<>> names = [] {
        std::set<std::string, std::less<>> all;
        for (const JTBuiltinFunction& builtin : builtinFunctions()) {
            all.emplace(builtin.name);
        }
        for (const StandardAlias& alias : kStandardAliases) {
            all.emplace(alias.alias);
        }
        return all;
    }();
    return names;
}

} // namespace

JTMathEvaluator::JTMathEvaluator() {
    registerStandardFunctions();
}

JTMathEvaluator::~JTMathEvaluator() = default;

JTMathEvaluator& JTMathEvaluator::sharedMathEvaluator() {
    static JTMathEvaluator shared;
    return shared;
}

bool JTMathEvaluator::isStandardName(std::string_view name) {
    return standardNames().contains(JTFunctionContainer::normalizedAlias(name));
}

void JTMathEvaluator::registerStandardFunctions() {
    for (const JTBuiltinFunction& builtin : builtinFunctions()) {
        auto container = std::make_unique<JTFunctionContainer>(builtin.function, builtin.name);
        m_functionMap.emplace(builtin.name, container.get());
        m_functions.push_back(std::move(container));
    }
    for (const StandardAlias& alias : kStandardAliases) {
        [[maybe_unused]] bool added = addAlias(alias.alias, alias.function);
        assert(added);
    }
}

JTFunctionContainer* JTMathEvaluator::functionContainerWithName(std::string_view name) const {
    auto found = m_functionMap.find(JTFunctionContainer::normalizedAlias(name));
    return found == m_functionMap.end() ? nullptr : found->second;
}

const JTFunctionBlock* JTMathEvaluator::registeredFunction(std::string_view lowercaseName) const {
    auto found = m_functionMap.find(lowercaseName);
    return found == m_functionMap.end() ? nullptr : &found->second->function();
}

JTFunctionBlock JTMathEvaluator::functionWithName(std::string_view name) const {
    if (JTFunctionContainer* container = functionContainerWithName(name)) {
        return container->function();
    }
    if (m_functionResolver) {
        return m_functionResolver(name);
    }
    return {};
}

bool JTMathEvaluator::registerFunction(JTFunctionBlock function, std::string_view name) {
    if (!function || functionWithName(name) || isStandardName(name)) {
        return false;
    }
    auto container = std::make_unique<JTFunctionContainer>(std::move(function), name);
    m_functionMap.emplace(JTFunctionContainer::normalizedAlias(name), container.get());
    m_functions.push_back(std::move(container));
    return true;
}

void JTMathEvaluator::unregisterFunctionWithName(std::string_view name) {
    if (isStandardName(name)) {
        return;
    }
    JTFunctionContainer* container = functionContainerWithName(name);
    if (!container) {
        return;
    }
    for (const std::string& alias : container->aliases()) {
        m_functionMap.erase(alias);
    }
    std::erase_if(m_functions, [container](const auto& registered) { return registered.get() == container; });
}

std::vector<std::string> JTMathEvaluator::registeredFunctions() const {
    std::vector<std::string> names;
    names.reserve(m_functionMap.size());
    for (const auto& entry : m_functionMap) {
        names.push_back(entry.first);
    }
    return names;
}

bool JTMathEvaluator::addAlias(std::string_view alias, std::string_view functionName) {
    if (functionWithName(alias)) {
        return false;
    }
    JTFunctionContainer* container = functionContainerWithName(functionName);
    if (!container) {
        return false;
    }
    container->addAlias(alias);
    m_functionMap.emplace(JTFunctionContainer::normalizedAlias(alias), container);
    return true;
}

void JTMathEvaluator::removeAlias(std::string_view alias) {
    unregisterFunctionWithName(alias);
}

core::Error JTMathEvaluator::functionExpressionFailedToResolve(const JTExpression& expression) const {
    core::Error error =
        makeParseError(JTErrorUnresolvedFunction, "unable to resolve function: " + expression.function());
    error.userInfo[std::string(JTFunctionNameKey)] = expression.function();
    return error;
}

core::Result<JTNumber> JTMathEvaluator::evaluateString(std::string_view text,
                                                       const JTSubstitutions* substitutions) {
    core::Result<JTExpressionPtr> expression = JTExpression::expressionFromString(text);
    if (!expression) {
        return expression.error();
    }
    return expression.value()->evaluateWithSubstitutions(substitutions, this);
}

} // namespace zm
