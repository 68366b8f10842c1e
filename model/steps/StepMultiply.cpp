#include "model/steps/StepMultiply.h"

#include "model/steps/CombineOperands.h"
#include "model/steps/ModalPlaygroundFactory.h"
#include "model/steps/StepDistribute.h"
#include "model/steps/StepText.h"

namespace zm {

std::shared_ptr<StepMultiply> StepMultiply::stepMultiplyFromOpTimes(std::shared_ptr<OpTimes> times) {
    return std::make_shared<StepMultiply>(std::move(times));
}

std::shared_ptr<Playground> StepMultiply::createModalPlayground(ModalPlaygroundFactory& mainPlayground) {
    if (!m_times)
        return nullptr;
    if (auto exponents = mainPlayground.makePlaygroundExponents(m_times))
        return exponents;
    if (auto distribute = StepDistribute::stepDistributeFromTimes(m_times))
        return mainPlayground.makePlaygroundDistribute(distribute);
    return nullptr;
}

ExprPtr StepMultiply::applyToExpr(const ExprPtr& root, TransitionRecord* bag) {
    if (!m_times)
        return root;
    return combineOperands(root, *m_times, bag, [&](const ExprPtr& left, const ExprPtr& right) {
        return left->multiplyExpr(right, m_times, bag);
    });
}

StepPtr StepMultiply::remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const {
    if (!root || !m_times)
        return nullptr;
    auto times = asExactly<OpTimes>(root->getOpWithId(m_times->opId()));
    return times ? stepMultiplyFromOpTimes(times) : nullptr;
}

std::string StepMultiply::description() const {
    return m_times ? stepText("stepMultiply", {m_times->firstExpr(), m_times->secondExpr()})
                   : stepText("stepMultiply", {});
}

} // namespace zm
