#include "playground/executors/IntroEliminateExecutor.h"

#include "JTMathParser/ExprTextReader.h"
#include "model/ExprQuotient.h"
#include "model/solver/SolverNode.h"
#include "platform/core/OperationQueue.h"
#include "playground/PlaygroundView.h"

namespace zm {

namespace {

// The pauses around putting the fraction back.
constexpr double kResetPause = 1.0;

} // namespace

void IntroEliminateExecutor::progressStep() {
    IntroExecutor::progressStep();
    if (!operational())
        return;
    std::vector<StepPtr> eliminations;
    if (auto quotient = asExactly<ExprQuotient>(mainExpr()))
        eliminations = SolverNode::eliminationStepsForExprQuotient(*quotient);
    // One line at a time, even where several pairs could be cancelled.
    if (std::shared_ptr<Step> elimination = randomElement(eliminations))
        animateStep(elimination);
    else
        resetProblem();
}

void IntroEliminateExecutor::resetProblem() {
    beginGesture();
    delay(kResetPause);
    queue()->addOperation([weakView = std::weak_ptr<PlaygroundView>(playgroundView())] {
        if (auto view = weakView.lock()) {
            view->setNewProblem(ExprTextReader::parseString(kFractionText));
            view->activateDisplayOnlyMode();
        }
    });
    delay(kResetPause);
    finalCall();
    endGesture();
}

void IntroEliminateExecutor::dragAlongPath(const QVStraightPath& path) {
    AIExecutor::dragAlongPath(path, kLineHold);
}

} // namespace zm
