#include "model/steps/StepAdd.h"

#include "model/steps/CombineOperands.h"
#include "model/steps/StepText.h"

namespace zm {

std::shared_ptr<StepAdd> StepAdd::stepAddFromOpPlus(std::shared_ptr<OpPlus> plus) {
    return std::make_shared<StepAdd>(std::move(plus));
}

ExprPtr StepAdd::applyToExpr(const ExprPtr& root, TransitionRecord* bag) {
    if (!m_plus)
        return root;
    return combineOperands(root, *m_plus, bag, [&](const ExprPtr& left, const ExprPtr& right) {
        return left->addExpr(right, m_plus, bag);
    });
}

StepPtr StepAdd::remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const {
    if (!root || !m_plus)
        return nullptr;
    auto plus = asExactly<OpPlus>(root->getOpWithId(m_plus->opId()));
    return plus ? stepAddFromOpPlus(plus) : nullptr;
}

std::string StepAdd::description() const {
    return m_plus ? stepText("stepAdd", {m_plus->firstExpr(), m_plus->secondExpr()})
                  : stepText("stepAdd", {});
}

} // namespace zm
