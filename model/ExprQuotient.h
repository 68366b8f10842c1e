#pragma once

#include "model/ExprBinary.h"

namespace zm {

// numerator / denominator. Its fraction bar is an `OpDivide` made with both children as operands.
class ExprQuotient : public ExprBinary {
public:
    explicit ExprQuotient(Key) {}

    static std::shared_ptr<ExprQuotient> quotientWithNumer(const ExprPtr& numerator,
                                                           const ExprPtr& denominator);
    // Whether `expr` is the whole denominator of a fraction.
    static bool isExprInDenom(const Expr* expr);

    std::shared_ptr<ExprView> makeExprViewFromPlaygroundView(ViewFactory& views, Baggage* bag) override;

    // Joining: added or multiplied, the fraction becomes a member of a new sum or product; divided,
    // its denominator is multiplied.
    ExprPtr insertExpr(const ExprPtr& expr, TransitionRecord* bag, ArithmeticType type,
                       int32_t position) override;
    // Negated through its numerator, in place.
    ExprPtr getNegativeWithBaggage(TransitionRecord* bag) override;
    // Fractions over equivalent denominators add into one.
    ExprPtr addExpr(const ExprPtr& right, const std::shared_ptr<OpPlus>& plus,
                    TransitionRecord* bag) override;
    // Fraction times fraction multiplies numerators and denominators; times anything else the
    // factor joins the numerator.
    ExprPtr multiplyExpr(const ExprPtr& right, const std::shared_ptr<OpTimes>& times,
                         TransitionRecord* bag) override;

    bool isSimplified() const override;

    std::string description() const override;
    std::string getSizeApproxString() const override;

protected:
    OperatorPtr makeOpFromFirstExpr(const ExprPtr& first, const ExprPtr& second) const override;
    std::shared_ptr<ExprBinary> makeLike(const ExprPtr& first, const ExprPtr& second) const override {
        return quotientWithNumer(first, second);
    }
};

} // namespace zm
