#include "JTMathParser/ExprTextReader.h"

#include "JTMathParser/JTExpressionBridge.h"
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

} // namespace

std::string ExprTextReader::preparedText(std::string_view text) {
    static const std::optional<core::Regex> variables = compiled("[a-zA-Z]+(?!\\d)");
    static const std::optional<core::Regex> coefficients = compiled("(\\d+)(\\$[a-zA-Z]+)");
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
    core::Result<JTExpressionPtr> parsed = JTExpression::expressionFromString(preparedText(text));
    if (parsed) {
        if (ExprPtr expr = convertToZMExpr(*parsed.value())) {
            failed = false;
            return expr;
        }
    }
    return ExprSoloist::soloWithCoef(1, std::string(text));
}

ExprPtr ExprTextReader::parseString(std::string_view text) {
    bool failed = false;
    return parseString(text, failed);
}

} // namespace zm
