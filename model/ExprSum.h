#pragma once

#include "model/ExprList.h"

namespace zm {

// A sum of two or more terms joined by "+". There is no subtraction: x - 3 is x plus -3.
class ExprSum : public ExprList {
public:
    explicit ExprSum(Key) {}

    // Null for fewer than two members.
    static std::shared_ptr<ExprSum> sumWithArray(const std::vector<ExprPtr>& exprs);

    bool isMyType(const Expr* expr) const override { return isExactly<ExprSum>(expr); }
    std::shared_ptr<ExprView> makeExprViewFromPlaygroundView(ViewFactory& views, Baggage* bag) override;

    // (-1) times the sum, which stays as it is.
    ExprPtr getNegativeWithBaggage(TransitionRecord* bag) override;

    // No two terms alike (same name and exponent; all numbers are alike) and every member simplified.
    bool isSimplified() const override;
    bool isFactorized() const override;
    // Like terms collected, pass after pass, into a new expression.
    ExprPtr getSimplifiedExpr() override;

    // Inside a product the sum is measured with its parentheses.
    std::string getSizeApproxString() const override;

protected:
    OperatorPtr makeOpFromFirstExpr(const ExprPtr& first, const ExprPtr& second) const override;
    std::shared_ptr<ExprList> makeLike(const std::vector<ExprPtr>& exprs) const override {
        return sumWithArray(exprs);
    }
    ArithmeticType ownArithmeticType() const override { return ArithmeticTypeAdd; }
};

} // namespace zm
