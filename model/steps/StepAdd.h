#pragma once

#include "model/steps/Step.h"

namespace zm {

class OpPlus;

// A tap on "+": the two terms it joins become one term, or the move is refused.
class StepAdd : public Step {
public:
    explicit StepAdd(std::shared_ptr<OpPlus> plus)
        : m_plus(std::move(plus)) {}
    static std::shared_ptr<StepAdd> stepAddFromOpPlus(std::shared_ptr<OpPlus> plus);

    const std::shared_ptr<OpPlus>& plus() const { return m_plus; }
    void setPlus(std::shared_ptr<OpPlus> plus) { m_plus = std::move(plus); }

    ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag) override;
    // Finds the "+" by its id; null when the operator with that id is not a "+".
    StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const override;
    std::string description() const override;

private:
    std::shared_ptr<OpPlus> m_plus;
};

} // namespace zm
