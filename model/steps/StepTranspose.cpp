#include "model/steps/StepTranspose.h"

#include "model/ExprEquation.h"
#include "model/ExprSoloist.h"
#include "model/Operator.h"
#include "model/Recording.h"
#include "model/steps/StepText.h"

namespace zm {

std::shared_ptr<StepTranspose> StepTranspose::stepTransposeWithExpr(ExprPtr expr, int32_t sym) {
    return std::make_shared<StepTranspose>(std::move(expr), sym);
}

ExprPtr StepTranspose::applyToExpr(const ExprPtr& root, TransitionRecord* bag) {
    if (!m_expr)
        return root;
    // A zero factor would arrive dividing the other side by zero.
    if (m_sym == ArithmeticTypeMultiply && ExprSoloist::isZero(m_expr.get())) {
        recordFail(bag, m_expr);
        return root;
    }
    // The term arrives with the inverse operation: a factor divides, a denominator multiplies and a
    // summand arrives as its negative.
    ArithmeticType type = ArithmeticTypeAdd;
    ExprPtr moved = m_expr;
    if (m_sym == ArithmeticTypeMultiply)
        type = ArithmeticTypeDivide;
    else if (m_sym == ArithmeticTypeDivide)
        type = ArithmeticTypeMultiply;
    else
        moved = m_expr->getNegativeWithBaggage(bag);
    if (!moved)
        return root;
    if (bag)
        bag->setAgentExpr(moved);

    auto equation = asExactly<ExprEquation>(root);
    if (!equation)
        return nullptr;
    const ExprPtr left = equation->firstExpr();
    const ExprPtr right = equation->secondExpr();
    auto join = [&](const ExprPtr& side, int32_t position) {
        return ExprSoloist::isZero(side.get()) && type == ArithmeticTypeAdd
                   ? moved
                   : side->insertExpr(moved, bag, type, position);
    };
    ExprPtr newLeft;
    ExprPtr newRight;
    if (left->hasExpr(m_expr.get())) {
        newLeft = left->killExpr(m_expr, bag);
        newRight = join(right, 1);
    } else if (right->hasExpr(m_expr.get())) {
        newRight = right->killExpr(m_expr, bag);
        newLeft = join(left, 0);
    } else {
        return root;
    }
    recordPosition(bag, moved, m_expr);
    if (!newLeft) {
        newLeft = ExprSoloist::soloWithCoef(0);
        recordPosition(bag, newLeft, equation->op());
    } else if (!newRight) {
        newRight = ExprSoloist::soloWithCoef(0);
        recordPosition(bag, newRight, equation->op());
    }
    equation->setFirstExpr(newLeft);
    equation->setSecondExpr(newRight);
    return equation;
}

StepPtr StepTranspose::remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const {
    if (!root || !m_expr)
        return nullptr;
    ExprPtr expr = root->getExprWithId(m_expr->exprId());
    return expr ? stepTransposeWithExpr(expr, m_sym) : nullptr;
}

std::string StepTranspose::description() const {
    const char* symbol = m_sym == ArithmeticTypeMultiply ? "*" : m_sym == ArithmeticTypeDivide ? "/" : "+";
    return "stepTranspose(" + (m_expr ? m_expr->description() : std::string("(null)")) + ", " + symbol + ")";
}

} // namespace zm
