#include "playground/executors/FactorizeExecutor.h"

#include "model/ExprList.h"
#include "model/ExprProduct.h"
#include "model/ExprSoloist.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepFactorize.h"
#include "playground/PlaygroundView.h"

namespace zm {

bool FactorizeExecutor::isExprDone() const {
    const ExprPtr expr = mainExpr();
    const std::shared_ptr<PlaygroundView> view = playgroundView();
    return expr && expr->isFactorized() && view && !view->modalVisible();
}

std::vector<std::shared_ptr<StepFactorize>> FactorizeExecutor::usefulSplits() const {
    std::vector<std::shared_ptr<StepFactorize>> splits;
    const ExprPtr expr = mainExpr();
    for (const ExprSoloistPtr& solo : expr ? expr->getSolos() : std::vector<ExprSoloistPtr>{}) {
        std::vector<std::shared_ptr<ExprProduct>> pairs = solo->getFactorizedProductPairs();
        if (pairs.size() == 1 && !StepFactorize::exprReplacementWillFail(*pairs.front())) {
            splits.push_back(StepFactorize::stepFactorizeWithOg(solo, pairs.front()));
        } else if (pairs.size() >= 2) {
            pairs.erase(pairs.begin());
            splits.push_back(StepFactorize::stepFactorizeWithOg(solo, randomElement(pairs)));
        }
    }
    return splits;
}

std::vector<std::shared_ptr<StepFactorize>> FactorizeExecutor::refusedSplits() const {
    std::vector<std::shared_ptr<StepFactorize>> splits;
    const ExprPtr expr = mainExpr();
    for (const ExprSoloistPtr& solo : expr ? expr->getSolos() : std::vector<ExprSoloistPtr>{}) {
        const std::vector<std::shared_ptr<ExprProduct>> pairs = solo->getFactorizedProductPairs();
        if (pairs.size() == 1 && StepFactorize::exprReplacementWillFail(*pairs.front()))
            splits.push_back(StepFactorize::stepFactorizeWithOg(solo, pairs.front()));
    }
    return splits;
}

void FactorizeExecutor::progressStep() {
    AIExecutor::progressStep();
    const std::shared_ptr<StepFactorize> split = randomElement(usefulSplits());
    if (!split) {
        cancelAnimations();
        return;
    }
    // A term with several pairs opens the factor-pair playground, where the player picks this one.
    setReplacement(split->replacement());
    animateStep(split);
}

void FactorizeExecutor::mixStep() {
    AIExecutor::mixStep();
    const ExprPtr expr = mainExpr();
    if (auto* list = dynamic_cast<const ExprList*>(expr.get()))
        animateStep(MoveFinder::commuteStepFromExprList(*list));
    else
        progressStep();
}

void FactorizeExecutor::failStep() {
    AIExecutor::failStep();
    const ExprPtr expr = mainExpr();
    if (!expr || expr->getSolos().empty()) {
        cancelAnimations();
        return;
    }
    if (std::shared_ptr<StepFactorize> refused = randomElement(refusedSplits()))
        animateStep(refused);
    else
        mixStep();
}

} // namespace zm
