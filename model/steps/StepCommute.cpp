#include "model/steps/StepCommute.h"

#include "model/ExprList.h"

namespace zm {

std::shared_ptr<StepCommute> StepCommute::stepCommuteWithPrincipal(ExprPtr princeExpr, ExprPtr otherExpr) {
    return std::make_shared<StepCommute>(std::move(princeExpr), std::move(otherExpr));
}

ExprPtr StepCommute::applyToExpr(const ExprPtr& root, TransitionRecord* bag) {
    if (!m_princeExpr)
        return root;
    auto list = std::dynamic_pointer_cast<ExprList>(m_princeExpr->exprParent());
    if (!list)
        return root;
    std::vector<ExprPtr> members = list->exprs();
    size_t from = 0;
    size_t to = 0;
    for (size_t i = 0; i < members.size(); ++i) {
        if (members[i] == m_princeExpr)
            from = i;
        else if (members[i] == m_otherExpr)
            to = i;
    }
    ExprPtr moving = members[from];
    members.erase(members.begin() + static_cast<std::ptrdiff_t>(from));
    members.insert(members.begin() + static_cast<std::ptrdiff_t>(std::min(to, members.size())), moving);
    list->setExprs(std::move(members));
    list->reformOpsWithBaggage(bag);
    return root;
}

StepPtr StepCommute::remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const {
    if (!root || !m_princeExpr || !m_otherExpr)
        return nullptr;
    ExprPtr prince = root->getExprWithId(m_princeExpr->exprId());
    ExprPtr other = root->getExprWithId(m_otherExpr->exprId());
    if (!prince || !other)
        return nullptr;
    return stepCommuteWithPrincipal(prince, other);
}

} // namespace zm
