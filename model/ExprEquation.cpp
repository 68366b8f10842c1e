#include "model/ExprEquation.h"

#include "model/ExprSoloist.h"
#include "model/Operator.h"
#include "model/Recording.h"
#include "model/ViewFactory.h"

namespace zm {

namespace {

const ExprSoloist* asTerm(const ExprPtr& expr) {
    return isExactly<ExprSoloist>(expr) ? static_cast<const ExprSoloist*>(expr.get()) : nullptr;
}

bool isLoneVariable(const ExprSoloist* term) {
    return term && term->varIsNotNum() && term->coef() == 1;
}

} // namespace

std::shared_ptr<ExprEquation> ExprEquation::equationWithLeft(const ExprPtr& left, const ExprPtr& right) {
    return make<ExprEquation>(left, right);
}

OperatorPtr ExprEquation::makeOpFromFirstExpr(const ExprPtr&, const ExprPtr&) const {
    return std::make_shared<OpEquals>();
}

std::shared_ptr<ExprView> ExprEquation::makeExprViewFromPlaygroundView(ViewFactory& views, Baggage* bag) {
    return views.makeExprViewEquation(std::static_pointer_cast<ExprEquation>(self()), bag);
}

ExprPtr ExprEquation::killExpr(const ExprPtr& expr, TransitionRecord* bag) {
    if (expr && (expr == firstExpr() || expr == secondExpr())) {
        auto zero = ExprSoloist::soloWithCoef(0);
        recordPosition(bag, zero, expr);
        return replaceExpr(expr, zero, bag);
    }
    return ExprBinary::killExpr(expr, bag);
}

bool ExprEquation::isEquivalent(const Expr& other) const {
    if (!isExactly<ExprEquation>(&other))
        return false;
    const auto& equation = static_cast<const ExprEquation&>(other);
    const Expr& left = *equation.firstExpr();
    const Expr& right = *equation.secondExpr();
    return (firstExpr()->isEquivalent(left) && secondExpr()->isEquivalent(right)) ||
           (firstExpr()->isEquivalent(right) && secondExpr()->isEquivalent(left));
}

bool ExprEquation::isLegitOther(const Expr& other, const std::string& var) {
    return !other.hasVar(var) && other.isSimplified();
}

bool ExprEquation::isSimplified() const {
    const ExprSoloist* left = asTerm(firstExpr());
    const ExprSoloist* right = asTerm(secondExpr());
    if (left && right)
        return (left->varIsNum() && isLoneVariable(right)) || (right->varIsNum() && isLoneVariable(left));
    if (left)
        return isLoneVariable(left) && isLegitOther(*secondExpr(), left->var());
    if (right)
        return isLoneVariable(right) && isLegitOther(*firstExpr(), right->var());
    return false;
}

ExprPtr ExprEquation::otherSideOfIsolatedVar() const {
    const ExprSoloist* left = asTerm(firstExpr());
    const ExprSoloist* right = asTerm(secondExpr());
    if (left && right) {
        if (isLoneVariable(left) && right->varIsNum())
            return secondExpr();
        if (isLoneVariable(right) && left->varIsNum())
            return firstExpr();
        return nullptr;
    }
    if (left)
        return isLoneVariable(left) && !secondExpr()->hasVar(left->var()) ? secondExpr() : nullptr;
    if (right)
        return isLoneVariable(right) && !firstExpr()->hasVar(right->var()) ? firstExpr() : nullptr;
    return nullptr;
}

} // namespace zm
