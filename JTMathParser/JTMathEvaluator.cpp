#include "JTMathParser/JTMathEvaluator.h"

#include "JTMathParser/JTBuiltinFunctions.h"
#include "JTMathParser/JTExpression.h"
#include "JTMathParser/JTParseError.h"
#include "JTMathParser/JTParser.h"
#include "platform/core/Log.h"

#include <cassert>
#include <set>

namespace zm {

namespace {

struct StandardAlias {
    std::string_view alias;
    std::string_view function;
};

constexpr StandardAlias kStandardAliases[] = {
    {"avg", "average"},  {"mean", "average"}, {"\u03C0", "pi"},  {"tau_2", "pi"},
    {"\u03C4", "tau"},   {"\u03D5", "phi"},   {"vers", "versin"}, {"ver", "versin"}, {"vercos", "vercosin"},
    {"cvs", "coversin"}, {"chord", "crd"},    {"modulo", "mod"},
};

struct StandardRule {
    std::string_view templateText;
    std::string_view replacement;
    std::optional<std::string_view> condition;
};

const StandardRule kStandardRewriteRules[] = {
    {"0+__exp1", "__exp1", std::nullopt},
    {"__exp1+0", "__exp1", std::nullopt},
    {"__exp1 + __exp1", "2*__exp1", std::nullopt},
    {"__exp1 - __exp1", "0", std::nullopt},
    {"1 * __exp1", "__exp1", std::nullopt},
    {"__exp1 * 1", "__exp1", std::nullopt},
    {"__exp1 * __exp1", "pow(__exp1, 2)", std::nullopt},
    {"multiply(__num1, __var1)", "multiply(__var1, __num1)", std::nullopt},
    {"0 * __exp1", "0", std::nullopt},
    {"__exp1 * 0", "0", std::nullopt},
    {"--__exp1", "__exp1", std::nullopt},
    {"abs(-__exp1)", "abs(__exp1)", std::nullopt},
    {"exp(__exp1) * exp(__exp2)", "exp(__exp1 + __exp2)", std::nullopt},
    {"pow(__exp1, __exp3) * pow(__exp2, __exp3)", "pow(__exp1 * __exp2, __exp3)", std::nullopt},
    {"pow(__exp1, 0)", "1", std::nullopt},
    {"pow(__exp1, 1)", "__exp1", std::nullopt},
    {"sqrt(pow(__exp1, 2))", "abs(__exp1)", std::nullopt},
    {"dtor(rtod(__exp1))", "__exp1", std::nullopt},
    {"__exp1 / __exp1", "1", "__exp1 != 0"},
    {"(__exp1 * __exp2) / __exp2", "__exp1", "__exp2 != 0"},
    {"(__exp2 * __exp1) / __exp2", "__exp1", "__exp2 != 0"},
    {"__exp2 / (__exp2 * __exp1)", "1/__exp1", "__exp2 != 0"},
    {"__exp2 / (__exp1 * __exp2)", "1/__exp1", "__exp2 != 0"},
    {"nthroot(pow(__exp1, __exp2), __exp2)", "abs(__exp1)", "__exp2 % 2 == 0"},
    {"nthroot(pow(__exp1, __exp2), __exp2)", "__exp1", "__exp2 % 2 == 1"},
    {"abs(__exp1)", "__exp1", "__exp1 >= 0"},
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

std::vector<std::unique_ptr<JTRewriteRule>>& JTMathEvaluator::rewriteRules() {
    if (!m_rewriteRules) {
        m_rewriteRules.emplace();
        for (const StandardRule& rule : kStandardRewriteRules) {
            addRewriteRule(rule.replacement, rule.templateText, rule.condition);
        }
    }
    return *m_rewriteRules;
}

void JTMathEvaluator::addRewriteRule(std::string_view replacement, std::string_view templateText,
                                     std::optional<std::string_view> condition) {
    std::vector<std::unique_ptr<JTRewriteRule>>& rules = rewriteRules();
    if (std::unique_ptr<JTRewriteRule> rule =
            JTRewriteRule::rewriteRuleWithTemplate(templateText, replacement, condition)) {
        rules.push_back(std::move(rule));
    }
}

// One rule over a whole tree, top-down; a replaced node's new parts wait for the next pass.
JTExpressionPtr JTMathEvaluator::rewriteExpression(const JTExpressionPtr& expression,
                                                   const JTRewriteRule& rule) {
    JTExpressionPtr rewritten = rule.expressionByRewritingExpression(expression, *this);
    if (rewritten != expression || expression->expressionType() != JTExpressionKind::Function) {
        return rewritten;
    }
    std::vector<JTExpressionPtr> arguments;
    arguments.reserve(expression->arguments().size());
    bool changed = false;
    for (const JTExpressionPtr& argument : expression->arguments()) {
        arguments.push_back(rewriteExpression(argument, rule));
        changed = changed || arguments.back() != argument;
    }
    if (!changed) {
        return expression;
    }
    core::Result<JTExpressionPtr> rebuilt =
        JTExpression::functionExpressionWithFunction(expression->function(), std::move(arguments));
    return rebuilt ? rebuilt.value() : nullptr;
}

JTExpressionPtr JTMathEvaluator::expressionByRewritingExpression(const JTExpressionPtr& expression) {
    const std::vector<std::unique_ptr<JTRewriteRule>>& rules = rewriteRules();
    JTExpressionPtr current = expression;
    for (int passes = 0; current;) {
        JTExpressionPtr passStart = current;
        bool changed = false;
        for (const std::unique_ptr<JTRewriteRule>& rule : rules) {
            JTExpressionPtr rewritten = rewriteExpression(current, *rule);
            if (!rewritten) {
                return passStart;
            }
            changed = changed || rewritten != current;
            current = std::move(rewritten);
        }
        if (!changed) {
            return current;
        }
        if (++passes == kMaxRewritePasses) {
            core::log(core::LogLevel::Error, "ABORT: replacement limit reached");
            return passStart;
        }
    }
    return current;
}

} // namespace zm
