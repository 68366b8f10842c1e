#include "playground/executors/DistributionExecutor.h"

#include "model/ExprList.h"
#include "model/ExprSoloist.h"
#include "model/Operator.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepDistribute.h"
#include "model/steps/StepFactorize.h"

namespace zm {

void DistributionExecutor::cancelAnimations() {
    AIExecutor::cancelAnimations();
    m_factoredOut = false;
}

std::vector<std::shared_ptr<Step>> DistributionExecutor::factorOutSteps() const {
    std::vector<std::shared_ptr<Step>> steps;
    const ExprPtr expr = mainExpr();
    const auto solos = expr ? expr->getSolos() : std::vector<ExprSoloistPtr>{};
    for (const ExprSoloistPtr& a : solos) {
        for (const ExprSoloistPtr& b : solos) {
            if (a == b)
                continue;
            if (auto step = StepFactorOut::stepFactorOutWithSolos({a, b}))
                steps.push_back(std::move(step));
        }
    }
    return steps;
}

void DistributionExecutor::progressStep() {
    AIExecutor::progressStep();
    const MoveFinder finder = moves();
    for (const OperatorPtr& times : finder.timesOps()) {
        if (auto step = StepDistribute::stepDistributeFromTimes(std::static_pointer_cast<OpTimes>(times))) {
            animateStep(step);
            return;
        }
    }
    const std::vector<std::shared_ptr<Step>> factorOuts = factorOutSteps();
    if (!factorOuts.empty() && !m_factoredOut) {
        m_factoredOut = true;
        animateStep(randomElement(factorOuts));
        return;
    }
    if (std::shared_ptr<Step> step = finder.findSolveStep()) {
        animateStep(step);
        return;
    }
    if (auto* list = dynamic_cast<const ExprList*>(finder.mainExpr().get()))
        animateStep(MoveFinder::commuteStepFromExprList(*list));
    else
        cancelAnimations();
}

void DistributionExecutor::mixStep() {
    AIExecutor::mixStep();
    progressStep();
}

void DistributionExecutor::failStep() {
    AIExecutor::failStep();
    progressStep();
}

} // namespace zm
