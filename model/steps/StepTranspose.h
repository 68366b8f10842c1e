#pragma once

#include "model/ArithmeticType.h"
#include "model/steps/Step.h"

namespace zm {

// Dragging a term across the "=": it leaves its side and joins the other side with the inverse
// operation. `sym` says how the term stood on its side: `ArithmeticTypeAdd` a summand or a whole
// side (any value other than the two below counts as this), `ArithmeticTypeMultiply` a factor,
// `ArithmeticTypeDivide` a denominator.
class StepTranspose : public Step {
public:
    StepTranspose(ExprPtr expr, int32_t sym)
        : m_expr(std::move(expr))
        , m_sym(sym) {}
    static std::shared_ptr<StepTranspose> stepTransposeWithExpr(ExprPtr expr, int32_t sym);

    const ExprPtr& expr() const { return m_expr; }
    void setExpr(ExprPtr expr) { m_expr = std::move(expr); }
    int32_t sym() const { return m_sym; }
    void setSym(int32_t sym) { m_sym = sym; }

    // Null when the root is not an equation; the root unchanged when the term is on neither side, and
    // refused (the term shakes) for a zero factor, which would divide the other side by zero.
    ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag) override;
    StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const override;
    std::string description() const override;

private:
    ExprPtr m_expr;
    int32_t m_sym;
};

} // namespace zm
