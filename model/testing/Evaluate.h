#pragma once

#include "model/ExprEquation.h"
#include "model/ExprList.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace zm::testing {

using Point = std::map<std::string, double>;

// The value of an expression at a point (an equation has none: evaluate its sides). A number with an
// exponent stands for the power of its magnitude, signed like its coefficient: "-3^2" is -9.
inline double evaluate(const Expr& expr, const Point& at) {
    if (auto term = dynamic_cast<const ExprSoloist*>(&expr)) {
        if (term->varIsNum()) {
            const double magnitude = std::pow(std::abs(static_cast<double>(term->coef())), term->exponent());
            return term->coef() < 0 ? -magnitude : magnitude;
        }
        auto found = at.find(term->var());
        const double value = found == at.end() ? 1.0 : found->second;
        return term->coef() * std::pow(value, term->exponent());
    }
    if (auto fraction = dynamic_cast<const ExprQuotient*>(&expr))
        return evaluate(*fraction->firstExpr(), at) / evaluate(*fraction->secondExpr(), at);
    if (auto list = dynamic_cast<const ExprList*>(&expr)) {
        const bool adding = dynamic_cast<const ExprSum*>(list) != nullptr;
        double result = adding ? 0.0 : 1.0;
        for (const ExprPtr& member : list->exprs())
            result = adding ? result + evaluate(*member, at) : result * evaluate(*member, at);
        return result;
    }
    return std::nan("");
}

inline bool nearlyEqual(double a, double b) {
    return std::abs(a - b) <= 1e-9 * std::max({1.0, std::abs(a), std::abs(b)});
}

} // namespace zm::testing
