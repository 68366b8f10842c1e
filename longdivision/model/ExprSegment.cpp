#include "longdivision/model/ExprSegment.h"

#include <algorithm>
#include <limits>

namespace zm {

namespace {

int32_t saturated(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

ExprSegment::ExprSegment(Key, ExprSoloistPtr aboveExpr, ExprSoloistPtr denominator)
    : m_denominator(std::move(denominator))
    , m_aboveExpr(std::move(aboveExpr)) {}

std::shared_ptr<ExprSegment> ExprSegment::create(ExprSoloistPtr aboveExpr, ExprSoloistPtr denominator) {
    auto segment = std::make_shared<ExprSegment>(Key{}, std::move(aboveExpr), std::move(denominator));
    segment->setToZero();
    return segment;
}

void ExprSegment::setToZero() {
    setMultipleValue(0);
}

void ExprSegment::calculateValues() {
    const int64_t divisor = m_denominator->coef();
    const int64_t above = m_aboveExpr->coef();
    // The row's digit search: the largest digit whose product fits. With a divisor below 1 there is
    // none to find (the makers of a long division refuse such divisors).
    setMultipleValue(divisor >= 1 && above >= 0 ? saturated(above / divisor) : 0);
}

void ExprSegment::setMultipleValue(int32_t digit) {
    const int64_t product = int64_t(digit) * m_denominator->coef();
    m_multiple = ExprSoloist::soloWithCoef(digit);
    m_product = ExprSoloist::soloWithCoef(saturated(product));
    m_difference = ExprSoloist::soloWithCoef(saturated(m_aboveExpr->coef() - product));
}

std::string ExprSegment::description() const {
    return "(" + std::to_string(m_aboveExpr->coef()) + ", " + std::to_string(m_digitsPulledFromNumerator) +
           ", " + std::to_string(m_multiple->coef()) + ", " + std::to_string(m_product->coef()) + ", " +
           std::to_string(m_difference->coef()) + ")";
}

} // namespace zm
