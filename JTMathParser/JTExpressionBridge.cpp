#include "JTMathParser/JTExpressionBridge.h"

#include "JTMathParser/JTOperatorInfo.h"
#include "model/ExprEquation.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"

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

ExprPtr convertFunction(const std::string& name, const std::vector<ExprPtr>& arguments) {
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
    if ((name == kCoefVarTerm || name == F::Power) && count == 2) {
        // Both must be plain terms: "(x+1)^2" and "(2*x)^2" have no term to stand for them.
        std::shared_ptr<ExprSoloist> first = term(arguments[0]);
        std::shared_ptr<ExprSoloist> second = term(arguments[1]);
        if (!first || !second) {
            return nullptr;
        }
        if (name == kCoefVarTerm) {
            return ExprSoloist::soloWithCoef(first->coef(), second->var());
        }
        return ExprSoloist::soloWithCoef(first->coef(), first->var(), second->coef());
    }
    return nullptr;
}

} // namespace

ExprPtr convertToZMExpr(const JTExpression& expression) {
    switch (expression.expressionType()) {
    case JTExpressionKind::Number:
        return ExprSoloist::soloWithCoef(expression.number().intValue());
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
    return convertFunction(expression.function(), arguments);
}

} // namespace zm
