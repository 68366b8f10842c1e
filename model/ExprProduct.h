#pragma once

#include "model/ExprList.h"

namespace zm {

// A product of two or more factors joined by "*".
class ExprProduct : public ExprList {
public:
    explicit ExprProduct(Key) {}

    // Null for fewer than two members.
    static std::shared_ptr<ExprProduct> productWithArray(const std::vector<ExprPtr>& exprs);

    bool isMyType(const Expr* expr) const override { return isExactly<ExprProduct>(expr); }
    std::shared_ptr<ExprView> makeExprViewFromPlaygroundView(ViewFactory& views, Baggage* bag) override;

    // Drops a factor -1, or else negates the first factor.
    ExprPtr getNegativeWithBaggage(TransitionRecord* bag) override;

    bool isFactorized() const override;
    // The factors multiplied together from the left into one new term; null as soon as two do not
    // multiply. The factors are left as they are.
    ExprPtr multiplyAllExprsTogether() const;
    // Terms multiplied together, or multiplied into a single sum factor; a copy when neither applies.
    ExprPtr getSimplifiedExpr() override;

protected:
    OperatorPtr makeOpFromFirstExpr(const ExprPtr& first, const ExprPtr& second) const override;
    std::shared_ptr<ExprList> makeLike(const std::vector<ExprPtr>& exprs) const override {
        return productWithArray(exprs);
    }
    ArithmeticType ownArithmeticType() const override { return ArithmeticTypeMultiply; }
    std::string describeMember(size_t index) const override;
};

} // namespace zm
