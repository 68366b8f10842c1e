#include "playground/executors/EquationExecutor.h"

#include "model/steps/Step.h"

namespace zm {

void EquationExecutor::progressStep() {
    AIExecutor::progressStep();
    if (std::shared_ptr<Step> step = moves().findSolveStep())
        animateStep(step);
    else
        cancelAnimations();
}

void EquationExecutor::mixStep() {
    AIExecutor::mixStep();
    progressStep();
}

void EquationExecutor::failStep() {
    AIExecutor::failStep();
    progressStep();
}

} // namespace zm
