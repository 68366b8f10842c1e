#include "model/steps/StepEuclideanFountain.h"

#include "model/ExprEquation.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"
#include "model/Recording.h"
#include "model/steps/ModalPlaygroundFactory.h"

#include <algorithm>
#include <cstdint>

namespace zm {

std::shared_ptr<Playground>
StepEuclideanFountainStart::createModalPlayground(ModalPlaygroundFactory& mainPlayground) {
    return m_equation ? mainPlayground.makePlaygroundEuclideanFountain(m_equation) : nullptr;
}

namespace {

// Whether the expression is zero whatever its variables: a zero term, a sum of plain numbers adding up
// to zero, a product with a zero factor, a fraction with a zero numerator.
bool isSurelyZero(const Expr& expr) {
    if (ExprSoloist::isZero(&expr))
        return true;
    if (auto sum = dynamic_cast<const ExprSum*>(&expr)) {
        int64_t total = 0;
        for (const ExprPtr& member : sum->exprs()) {
            auto number = dynamic_cast<const ExprSoloist*>(member.get());
            if (!number || !number->varIsNum() || number->exponent() != 1)
                return false;
            total += number->coef();
        }
        return total == 0;
    }
    if (auto product = dynamic_cast<const ExprProduct*>(&expr)) {
        return std::any_of(product->exprs().begin(), product->exprs().end(),
                           [](const ExprPtr& factor) { return isSurelyZero(*factor); });
    }
    if (auto fraction = dynamic_cast<const ExprQuotient*>(&expr))
        return isSurelyZero(*fraction->firstExpr());
    return false;
}

} // namespace

ExprPtr StepEuclideanFountain::applyToExpr(const ExprPtr& root, TransitionRecord* bag) {
    const bool knownType = m_arithType == ArithmeticTypeAdd || m_arithType == ArithmeticTypeMultiply ||
                           m_arithType == ArithmeticTypeDivide;
    if (!m_equation || !m_createdExpr || !knownType)
        return root;
    // An equation cannot stand inside a side. Dividing by zero is no move of algebra, and
    // multiplying by zero turns any equation into 0 = 0, losing its solutions.
    if (isExactly<ExprEquation>(m_createdExpr) ||
        (m_arithType != ArithmeticTypeAdd && isSurelyZero(*m_createdExpr))) {
        recordFail(bag, m_equation);
        return root;
    }
    const auto type = static_cast<ArithmeticType>(m_arithType);
    ExprPtr forLeft = m_createdExpr->copyWithBag(nullptr);
    ExprPtr forRight = m_createdExpr->copyWithBag(nullptr);
    recordPosition(bag, forLeft, m_createdExpr);
    recordPosition(bag, forRight, m_createdExpr);
    ExprPtr left = m_equation->firstExpr()->insertExpr(forLeft, bag, type, 0);
    ExprPtr right = m_equation->secondExpr()->insertExpr(forRight, bag, type, 1);
    if (!left || !right)
        return root;
    ExprPtr changed = m_equation->replaceExpr(m_equation->firstExpr(), left, bag);
    return m_equation->replaceExpr(std::static_pointer_cast<ExprEquation>(changed)->secondExpr(), right, bag);
}

} // namespace zm
