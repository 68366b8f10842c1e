#pragma once

#include "model/ExprEquation.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"

#include <memory>
#include <vector>

// Short makers for building trees in tests.
namespace zm::testing {

inline std::shared_ptr<ExprSoloist> num(int32_t value) {
    return ExprSoloist::soloWithCoef(value);
}
inline std::shared_ptr<ExprSoloist> term(int32_t coef, const std::string& var, int32_t exponent = 1) {
    return ExprSoloist::soloWithCoef(coef, var, exponent);
}
inline std::shared_ptr<ExprSoloist> var(const std::string& name, int32_t exponent = 1) {
    return ExprSoloist::soloWithCoef(1, name, exponent);
}
inline std::shared_ptr<ExprSum> sum(std::vector<ExprPtr> members) {
    return ExprSum::sumWithArray(members);
}
inline std::shared_ptr<ExprProduct> prod(std::vector<ExprPtr> members) {
    return ExprProduct::productWithArray(members);
}
inline std::shared_ptr<ExprQuotient> quot(ExprPtr numerator, ExprPtr denominator) {
    return ExprQuotient::quotientWithNumer(numerator, denominator);
}
inline std::shared_ptr<ExprEquation> eq(ExprPtr left, ExprPtr right) {
    return ExprEquation::equationWithLeft(left, right);
}

} // namespace zm::testing
