#include "model/steps/StepReplace.h"

#include "model/Recording.h"

namespace zm {

ExprPtr StepReplace::applyToExpr(const ExprPtr& root, TransitionRecord* bag) {
    if (!root || m_condemned.empty())
        return root;
    if (m_replacements.size() == 1) {
        ExprPtr top = root;
        for (size_t i = m_condemned.size() - 1; i >= 1; --i) {
            ExprPtr rest = root->killExpr(m_condemned[i], bag);
            if (rest)
                top = rest;
        }
        return top->replaceExpr(m_condemned.front(), m_replacements.front(), bag);
    }
    if (m_replacements.size() != m_condemned.size())
        return root;
    ExprPtr top = root;
    for (size_t i = 0; i < m_condemned.size() && top; ++i)
        top = top->replaceExpr(m_condemned[i], m_replacements[i], bag);
    return top;
}

ExprPtr StepFail::applyToExpr(const ExprPtr& root, TransitionRecord* bag) {
    for (const ExprPtr& expr : m_exprs)
        recordFail(bag, expr);
    return root;
}

StepPtr StepFail::remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const {
    if (!root)
        return nullptr;
    std::vector<ExprPtr> found;
    for (const ExprPtr& expr : m_exprs) {
        if (ExprPtr counterpart = expr ? root->getExprWithId(expr->exprId()) : nullptr)
            found.push_back(counterpart);
    }
    return std::make_shared<StepFail>(std::move(found));
}

} // namespace zm
