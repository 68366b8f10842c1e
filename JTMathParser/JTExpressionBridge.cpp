#include "JTMathParser/JTExpressionBridge.h"

#include "JTMathParser/JTOperatorInfo.h"
#include "model/ExprEquation.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace zm {

namespace {

namespace F = JTOperatorFunction;

constexpr std::string_view kCoefVarTerm = "coefvarterm";

ExprPtr negative(const ExprPtr& expr) {
    return expr ? expr->getNegativeWithBaggage(nullptr) : nullptr;
}

std::shared_ptr<ExprSoloist> term(const ExprPtr& expr) {
    return asExactly<ExprSoloist>(expr);
}

// The model holds whole numbers only. A literal past the range of a decimal (NaN here: a literal
// has no sign of its own) saturates like every number past 32 bits.
ExprPtr convertNumber(const JTNumber& number) {
    if (number.isNaN()) {
        return ExprSoloist::soloWithCoef(std::numeric_limits<int32_t>::max());
    }
    if (!number.isWhole()) {
        return nullptr;
    }
    return ExprSoloist::soloWithCoef(number.intValue());
}

// A term raised to a whole number, when the model can hold it. The term's coefficient is not
// raised ("2x^2" is 2 times x squared), so a base that brings a coefficient or a sign of its own
// ("(2x)^2", "(-3)^2") or is already a power has no term to stand for it, and neither has an
// exponent that is not a plain whole number ("2^x", "x^2^3").
ExprPtr convertPower(const JTExpression& baseNode, const ExprPtr& base, const ExprPtr& exponent) {
    if (baseNode.expressionType() == JTExpressionKind::Function &&
        (baseNode.function() == F::Negate || baseNode.function() == kCoefVarTerm)) {
        return nullptr;
    }
    std::shared_ptr<ExprSoloist> raised = term(base);
    std::shared_ptr<ExprSoloist> power = term(exponent);
    if (!raised || raised->exponent() != 1 || !power || !power->varIsNum() || power->exponent() != 1) {
        return nullptr;
    }
    return ExprSoloist::soloWithCoef(raised->coef(), raised->var(), power->coef());
}

// The reader writes a digit run before a name, with the name's exponent, as coefvarterm(3,$x^2).
ExprPtr convertCoefficientTerm(const ExprPtr& coefficient, const ExprPtr& name) {
    std::shared_ptr<ExprSoloist> number = term(coefficient);
    std::shared_ptr<ExprSoloist> variable = term(name);
    if (!number || !number->varIsNum() || number->exponent() != 1 || !variable || variable->varIsNum() ||
        variable->coef() != 1) {
        return nullptr;
    }
    return ExprSoloist::soloWithCoef(number->coef(), variable->var(), variable->exponent());
}

ExprPtr convertFunction(const JTExpression& expression, const std::vector<ExprPtr>& arguments) {
    const std::string& name = expression.function();
    std::size_t count = arguments.size();
    if (name == F::Negate && count == 1) {
        return negative(arguments[0]);
    }
    if (name == F::Subtract && count == 2) {
        ExprPtr second = negative(arguments[1]);
        return second ? ExprSum::sumWithArray({arguments[0], second}) : nullptr;
    }
    if (name == F::Add && count >= 2) {
        return ExprSum::sumWithArray(arguments);
    }
    if (name == F::Multiply && count >= 2) {
        return ExprProduct::productWithArray(arguments);
    }
    if (name == F::Divide && count == 2) {
        return ExprQuotient::quotientWithNumer(arguments[0], arguments[1]);
    }
    if (name == F::LogicalEqual && count == 2) {
        return ExprEquation::equationWithLeft(arguments[0], arguments[1]);
    }
    if (name == F::Power && count == 2) {
        return convertPower(*expression.arguments()[0], arguments[0], arguments[1]);
    }
    if (name == kCoefVarTerm && count == 2) {
        return convertCoefficientTerm(arguments[0], arguments[1]);
    }
    return nullptr;
}

} // namespace

ExprPtr convertToZMExpr(const JTExpression& expression) {
    switch (expression.expressionType()) {
    case JTExpressionKind::Number:
        return convertNumber(expression.number());
    case JTExpressionKind::Variable:
        return ExprSoloist::soloWithCoef(1, expression.variable());
    case JTExpressionKind::Function:
        break;
    }
    std::vector<ExprPtr> arguments;
    arguments.reserve(expression.arguments().size());
    for (const JTExpressionPtr& argument : expression.arguments()) {
        ExprPtr converted = convertToZMExpr(*argument);
        // An equation is always the whole problem: none stands inside another expression.
        if (!converted || isExactly<ExprEquation>(converted)) {
            return nullptr;
        }
        arguments.push_back(std::move(converted));
    }
    return convertFunction(expression, arguments);
}

} // namespace zm
