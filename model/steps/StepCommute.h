#pragma once

#include "model/steps/Step.h"

namespace zm {

// Dragging a term past a neighbour in the same sum or product: the term takes the neighbour's place.
class StepCommute : public Step {
public:
    StepCommute(ExprPtr princeExpr, ExprPtr otherExpr)
        : m_princeExpr(std::move(princeExpr))
        , m_otherExpr(std::move(otherExpr)) {}
    static std::shared_ptr<StepCommute> stepCommuteWithPrincipal(ExprPtr princeExpr, ExprPtr otherExpr);

    const ExprPtr& princeExpr() const { return m_princeExpr; }
    void setPrinceExpr(ExprPtr expr) { m_princeExpr = std::move(expr); }
    const ExprPtr& otherExpr() const { return m_otherExpr; }
    void setOtherExpr(ExprPtr expr) { m_otherExpr = std::move(expr); }

    // Does nothing once the term is no longer a member of a list.
    ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag) override;
    StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const override;

private:
    ExprPtr m_princeExpr;
    ExprPtr m_otherExpr;
};

} // namespace zm
