#include "model/ExprBinary.h"

#include "model/Operator.h"
#include "model/Recording.h"

namespace zm {

void ExprBinary::setSide(size_t index, const ExprPtr& expr) {
    if (expr == m_sides[index] || !expr)
        return;
    m_sides[index] = expr;
    expr->setExprParent(self());
}

void ExprBinary::setFirstExpr(const ExprPtr& expr) {
    setSide(0, expr);
}

void ExprBinary::setSecondExpr(const ExprPtr& expr) {
    setSide(1, expr);
}

ExprPtr ExprBinary::copy() const {
    ExprPtr first = firstExpr()->copy();
    ExprPtr second = secondExpr()->copy();
    return makeLike(first, second);
}

ExprPtr ExprBinary::copyWithBag(TransitionRecord* bag) {
    ExprPtr first = firstExpr()->copyWithBag(bag);
    ExprPtr second = secondExpr()->copyWithBag(bag);
    auto twin = makeLike(first, second);
    if (twin)
        recordPosition(bag, twin->op(), m_op);
    return twin;
}

ExprPtr ExprBinary::killExpr(const ExprPtr& expr, TransitionRecord* bag) {
    if (expr.get() == this)
        return nullptr;
    ExprPtr first = firstExpr()->killExpr(expr, bag);
    ExprPtr second = secondExpr()->killExpr(expr, bag);
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
    setFirstExpr(firstExpr()->replaceExpr(expr, replacement, bag));
    setSecondExpr(secondExpr()->replaceExpr(expr, replacement, bag));
    return self();
}

ExprPtr ExprBinary::substituteVar(const std::string& var, const ExprPtr& expr, TransitionRecord* bag) {
    setFirstExpr(firstExpr()->substituteVar(var, expr, bag));
    setSecondExpr(secondExpr()->substituteVar(var, expr, bag));
    return self();
}

bool ExprBinary::isEquivalent(const Expr& other) const {
    if (typeid(other) != typeid(*this))
        return false;
    const auto& binary = static_cast<const ExprBinary&>(other);
    return firstExpr()->isEquivalent(*binary.firstExpr()) && secondExpr()->isEquivalent(*binary.secondExpr());
}

bool ExprBinary::isExactMatch(const Expr& other) const {
    if (typeid(other) != typeid(*this))
        return false;
    const auto& binary = static_cast<const ExprBinary&>(other);
    return firstExpr()->isExactMatch(*binary.firstExpr()) && secondExpr()->isExactMatch(*binary.secondExpr());
}

std::string ExprBinary::description() const {
    return firstExpr()->description() + " " + m_op->getSymbol() + " " + secondExpr()->description();
}

std::string ExprBinary::getSizeApproxString() const {
    return firstExpr()->getSizeApproxString() + m_op->getSymbol() + secondExpr()->getSizeApproxString();
}

} // namespace zm
