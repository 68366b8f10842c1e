#include "playground/executors/IntroMixTapExecutor.h"

#include "model/ExprList.h"
#include "model/ExprProduct.h"
#include "model/ExprSoloist.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepFactorize.h"

namespace zm {

void IntroMixTapExecutor::progressStep() {
    IntroExecutor::progressStep();
    const ExprPtr expr = mainExpr();
    if (!expr)
        return;
    auto* list = dynamic_cast<const ExprList*>(expr.get());
    if (list && !m_commuted) {
        m_commuted = true;
        animateStep(MoveFinder::commuteStepFromExprList(*list));
        return;
    }
    m_commuted = false;
    if (std::shared_ptr<Step> multiply = moves().randomMultiplyStep()) {
        animateStep(multiply);
        return;
    }
    const auto solos = expr->getSolos();
    if (solos.empty())
        return;
    const ExprSoloistPtr& last = solos.back();
    const auto pairs = last->getFactorizedProductPairs();
    if (pairs.size() == 1 && !StepFactorize::exprReplacementWillFail(*pairs.front()))
        animateStep(StepFactorize::stepFactorizeWithOg(last, pairs.front()));
}

} // namespace zm
