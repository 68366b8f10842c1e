#include "playground/executors/IntroFaultyEliminator.h"

#include "model/ExprList.h"
#include "model/ExprQuotient.h"
#include "model/steps/StepEliminate.h"

#include <algorithm>

namespace zm {

void IntroFaultyEliminator::progressStep() {
    IntroExecutor::progressStep();
    auto quotient = asExactly<ExprQuotient>(mainExpr());
    if (!quotient)
        return;
    const ExprPtr& denominator = quotient->secondExpr();
    auto* list = dynamic_cast<const ExprList*>(quotient->firstExpr().get());
    const std::vector<ExprPtr> numerator = list ? list->exprs() : std::vector<ExprPtr>{quotient->firstExpr()};
    const auto unlike = std::find_if(numerator.rbegin(), numerator.rend(),
                                     [&](const ExprPtr& term) { return !term->isExactMatch(*denominator); });
    if (unlike == numerator.rend())
        return;
    // Made without the rule's test: the line is meant to be refused.
    animateStep(std::make_shared<StepEliminate>(std::vector<ExprPtr>{*unlike, denominator}));
}

void IntroFaultyEliminator::dragAlongPath(const QVStraightPath& path) {
    AIExecutor::dragAlongPath(path, kLineHold);
}

} // namespace zm
