#include "JTMathParser/JTStringEvaluation.h"

#include "JTMathParser/JTExpression.h"
#include "platform/core/Log.h"

namespace zm {

core::Result<JTNumber> numberByEvaluatingStringWithSubstitutions(std::string_view text,
                                                                 const JTSubstitutions* substitutions) {
    core::Result<JTExpressionPtr> expression = JTExpression::expressionFromString(text);
    if (!expression) {
        return expression.error();
    }
    return expression.value()->evaluateWithSubstitutions(substitutions, nullptr);
}

std::optional<JTNumber> numberByEvaluatingString(std::string_view text,
                                                 const JTSubstitutions* substitutions) {
    core::Result<JTNumber> number = numberByEvaluatingStringWithSubstitutions(text, substitutions);
    if (!number) {
        core::log(core::LogLevel::Error, "error: " + number.error().text());
        return std::nullopt;
    }
    return number.value();
}

} // namespace zm
