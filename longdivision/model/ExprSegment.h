#pragma once

#include "model/Expr.h"
#include "model/ExprSoloist.h"

#include <cstdint>
#include <memory>

namespace zm {

// One subtraction row of a long division: the partial dividend written above it, the quotient digit
// chosen for it, the product of that digit and the divisor, and the difference left under the rule.
// The divisor is the long division's own term, shared; the other numbers are the row's own.
//
// The row keeps its numbers in 32 bits, like every term; the arithmetic behind them is done in 64 bits
// and saturates, so that a digit proposed for a very large divisor cannot wrap into a difference that
// looks right.
class ExprSegment : public Expr {
public:
    ExprSegment(Key, ExprSoloistPtr aboveExpr, ExprSoloistPtr denominator);

    // A row for the partial dividend `aboveExpr`, its digit 0 (see setToZero).
    static std::shared_ptr<ExprSegment> create(ExprSoloistPtr aboveExpr, ExprSoloistPtr denominator);

    const ExprSoloistPtr& denominator() const { return m_denominator; }
    const ExprSoloistPtr& multiple() const { return m_multiple; }
    const ExprSoloistPtr& aboveExpr() const { return m_aboveExpr; }
    const ExprSoloistPtr& product() const { return m_product; }
    const ExprSoloistPtr& difference() const { return m_difference; }
    uint32_t digitsPulledFromNumerator() const { return m_digitsPulledFromNumerator; }
    void setDigitsPulledFromNumerator(uint32_t count) { m_digitsPulledFromNumerator = count; }

    // Digit 0: product 0, the whole partial dividend as difference.
    void setToZero();
    // The largest digit whose product fits under the partial dividend.
    void calculateValues();
    // The digit the user proposes, with its product and difference, which may be negative or reach
    // the divisor.
    void setMultipleValue(int32_t digit);

    std::string description() const override;

private:
    ExprSoloistPtr m_denominator;
    ExprSoloistPtr m_multiple;
    ExprSoloistPtr m_aboveExpr;
    ExprSoloistPtr m_product;
    ExprSoloistPtr m_difference;
    uint32_t m_digitsPulledFromNumerator = 0;
};

using ExprSegmentPtr = std::shared_ptr<ExprSegment>;

} // namespace zm
