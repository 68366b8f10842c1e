#include "model/steps/StepSubstitute.h"

#include "model/ExprSoloist.h"
#include "model/steps/ModalPlaygroundFactory.h"

namespace zm {

std::shared_ptr<Playground>
StepSubstituteInput::createModalPlayground(ModalPlaygroundFactory& mainPlayground) {
    if (!m_solo || m_solo->exponent() == 1)
        return nullptr;
    return mainPlayground.makePlaygroundExponents(m_solo);
}

StepPtr StepSubstituteInput::remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const {
    if (!root || !m_solo)
        return nullptr;
    auto solo = root->getExprWithId<ExprSoloist>(m_solo->exprId());
    return solo ? std::make_shared<StepSubstituteInput>(solo) : nullptr;
}

ExprPtr StepSubstituteVar::applyToExpr(const ExprPtr& root, TransitionRecord* bag) {
    if (!root || !m_replacement)
        return root;
    ExprPtr substituted = root->substituteVar(m_var, m_replacement, bag);
    return substituted ? substituted : root;
}

StepPtr StepSubstituteVar::remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const {
    if (!root || !m_replacement)
        return nullptr;
    ExprPtr found = root->getExprWithId(m_replacement->exprId());
    return std::make_shared<StepSubstituteVar>(m_var, found ? found : m_replacement);
}

} // namespace zm
