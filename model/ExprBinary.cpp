#include "model/ExprBinary.h"

#include "model/Operator.h"
#include "model/Recording.h"

namespace zm {

void ExprBinary::setFirstExpr(const ExprPtr& expr) {
    if (expr == m_firstExpr || !expr)
        return;
    m_firstExpr = expr;
    expr->setExprParent(self());
}

void ExprBinary::setSecondExpr(const ExprPtr& expr) {
    if (expr == m_secondExpr || !expr)
        return;
    m_secondExpr = expr;
    expr->setExprParent(self());
}

ExprPtr ExprBinary::copy() const {
    ExprPtr first = m_firstExpr->copy();
    ExprPtr second = m_secondExpr->copy();
    return makeLike(first, second);
}

ExprPtr ExprBinary::copyWithBag(TransitionRecord* bag) {
    ExprPtr first = m_firstExpr->copyWithBag(bag);
    ExprPtr second = m_secondExpr->copyWithBag(bag);
    auto twin = makeLike(first, second);
    if (twin)
        recordPosition(bag, twin->op(), m_op);
    return twin;
}

ExprPtr ExprBinary::killExpr(const ExprPtr& expr, TransitionRecord* bag) {
    if (expr.get() == this)
        return nullptr;
    ExprPtr first = m_firstExpr->killExpr(expr, bag);
    ExprPtr second = m_secondExpr->killExpr(expr, bag);
    if (first && second) {
        setFirstExpr(first);
        setSecondExpr(second);
        return self();
    }
    ExprPtr survivor = first ? first : second;
    if (survivor)
        survivor->setExprParent(exprParent());
    return survivor;
}

ExprPtr ExprBinary::replaceExpr(const ExprPtr& expr, const ExprPtr& replacement, TransitionRecord* bag) {
    if (expr.get() == this)
        return replacement;
    if (!replacement)
        return killExpr(expr, bag);
    setFirstExpr(m_firstExpr->replaceExpr(expr, replacement, bag));
    setSecondExpr(m_secondExpr->replaceExpr(expr, replacement, bag));
    return self();
}

ExprPtr ExprBinary::substituteVar(const std::string& var, const ExprPtr& expr, TransitionRecord* bag) {
    setFirstExpr(m_firstExpr->substituteVar(var, expr, bag));
    setSecondExpr(m_secondExpr->substituteVar(var, expr, bag));
    return self();
}

bool ExprBinary::isEquivalent(const Expr& other) const {
    if (typeid(other) != typeid(*this))
        return false;
    const auto& binary = static_cast<const ExprBinary&>(other);
    return m_firstExpr->isEquivalent(*binary.firstExpr()) && m_secondExpr->isEquivalent(*binary.secondExpr());
}

bool ExprBinary::isExactMatch(const Expr& other) const {
    if (typeid(other) != typeid(*this))
        return false;
    const auto& binary = static_cast<const ExprBinary&>(other);
    return m_firstExpr->isExactMatch(*binary.firstExpr()) && m_secondExpr->isExactMatch(*binary.secondExpr());
}

std::string ExprBinary::description() const {
    return m_firstExpr->description() + " " + m_op->getSymbol() + " " + m_secondExpr->description();
}

std::string ExprBinary::getSizeApproxString() const {
    return m_firstExpr->getSizeApproxString() + m_op->getSymbol() + m_secondExpr->getSizeApproxString();
}

} // namespace zm
