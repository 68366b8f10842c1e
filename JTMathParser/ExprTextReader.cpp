#include "JTMathParser/ExprTextReader.h"

#include "JTMathParser/JTBuiltinFunctions.h"
#include "JTMathParser/JTExpressionBridge.h"
#include "JTMathParser/JTMathEvaluator.h"
#include "model/ExprSoloist.h"
#include "platform/core/Log.h"
#include "platform/core/Regex.h"

#include <optional>

namespace zm {

namespace {

// A constant pattern; one that cannot be compiled is logged and its replacement skipped.
std::optional<core::Regex> compiled(std::string_view pattern) {
    core::Result<core::Regex> regex = core::Regex::make(pattern, {.caseInsensitive = true});
    if (!regex) {
        core::log(core::LogLevel::Error, regex.error().description);
        return std::nullopt;
    }
    return regex.value();
}

// A letter run directly before "(" that names a function of the evaluator ("sin(x)") is a call
// the model cannot hold, not a variable times a bracket. A constant takes no arguments, so
// "e(x + 1)" stays the variable e times a bracket.
bool callsAFunction(std::string_view text) {
    static const std::optional<core::Regex> calls = compiled("([a-zA-Z]+)\\(");
    if (!calls) {
        return false;
    }
    for (const core::Regex::Match& match : calls->matches(text)) {
        std::string_view name = match.group(text, 1);
        if (JTMathEvaluator::isStandardName(name) && !isBuiltinConstant(name)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string ExprTextReader::preparedText(std::string_view text) {
    static const std::optional<core::Regex> variables = compiled("[a-zA-Z]+(?!\\d)");
    // The name takes a whole-number exponent written right after it, so that "2x^2" is the term
    // 2x^2 while "(2x)^2", a power of a bracket, is not. Digits after a decimal point are no
    // coefficient: "2.5x" is 2.5 times x, not 2 and 5x.
    static const std::optional<core::Regex> coefficients =
        compiled("(?<![\\d.])(\\d+)(\\$[a-zA-Z]+(?:\\^(?:-?\\d+|\\(-?\\d+\\))(?![\\w$.^]))?)");
    std::string prepared(text);
    if (variables) {
        prepared = variables->replaceAll(prepared, "$$0");
    }
    if (coefficients) {
        prepared = coefficients->replaceAll(prepared, "coefvarterm($1,$2)");
    }
    return prepared;
}

ExprPtr ExprTextReader::parseString(std::string_view text, bool& failed) {
    failed = true;
    if (text.empty()) {
        return ExprSoloist::soloWithCoef(0);
    }
    if (ExprPtr expr = readExactly(text)) {
        failed = false;
        return expr;
    }
    return ExprSoloist::soloWithCoef(1, std::string(text));
}

ExprPtr ExprTextReader::readExactly(std::string_view text) {
    if (callsAFunction(text)) {
        return nullptr;
    }
    core::Result<JTExpressionPtr> parsed = JTExpression::expressionFromString(preparedText(text));
    return parsed ? convertToZMExpr(*parsed.value()) : nullptr;
}

ExprPtr ExprTextReader::parseString(std::string_view text) {
    bool failed = false;
    return parseString(text, failed);
}

} // namespace zm
