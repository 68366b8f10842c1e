#pragma once

#include "model/steps/Step.h"

namespace zm {

class OpTimes;

// A tap on "*": the two factors it joins become one, or the move is refused. It opens the exponents
// playground when that takes the two factors, else the distribution playground when one is a sum.
class StepMultiply : public Step {
public:
    explicit StepMultiply(std::shared_ptr<OpTimes> times)
        : m_times(std::move(times)) {}
    static std::shared_ptr<StepMultiply> stepMultiplyFromOpTimes(std::shared_ptr<OpTimes> times);

    const std::shared_ptr<OpTimes>& times() const { return m_times; }
    void setTimes(std::shared_ptr<OpTimes> times) { m_times = std::move(times); }

    std::shared_ptr<Playground> createModalPlayground(ModalPlaygroundFactory& mainPlayground) override;
    ExprPtr applyToExpr(const ExprPtr& root, TransitionRecord* bag) override;
    // Finds the "*" by its id; null when the operator with that id is not a "*".
    StepPtr remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const override;
    std::string description() const override;

private:
    std::shared_ptr<OpTimes> m_times;
};

} // namespace zm
