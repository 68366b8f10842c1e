#pragma once

#include "model/ExprBinary.h"

namespace zm {

// left = right; always the root of a problem that has one. Its "=" has no operands and id 0.
class ExprEquation : public ExprBinary {
public:
    explicit ExprEquation(Key) {}

    static std::shared_ptr<ExprEquation> equationWithLeft(const ExprPtr& left, const ExprPtr& right);

    std::shared_ptr<ExprView> makeExprViewFromPlaygroundView(ViewFactory& views, Baggage* bag) override;

    // Removing a whole side leaves the number 0 there: an equation never loses a side.
    ExprPtr killExpr(const ExprPtr& expr, TransitionRecord* bag) override;

    // Substitution needs two or more distinct variables.
    bool canSubstitute() const override { return exprHasMultipleVariables(*this); }

    // Equal sides in either order.
    bool isEquivalent(const Expr& other) const override;
    // A lone variable (coefficient 1) on one side and, on the other, something simplified without it.
    bool isSimplified() const override;
    // The side that a lone variable equals, or null.
    ExprPtr otherSideOfIsolatedVar() const;
    static bool isLegitOther(const Expr& other, const std::string& var);

protected:
    OperatorPtr makeOpFromFirstExpr(const ExprPtr& first, const ExprPtr& second) const override;
    std::shared_ptr<ExprBinary> makeLike(const ExprPtr& first, const ExprPtr& second) const override {
        return equationWithLeft(first, second);
    }
};

} // namespace zm
