#include "playground/executors/MoveAndTapExecutor.h"

#include "model/ExprList.h"
#include "model/steps/StepCommute.h"

namespace zm {

void MoveAndTapExecutor::progressStep() {
    playProgress(Fallback::Allowed);
}

void MoveAndTapExecutor::mixStep() {
    playMix(Fallback::Allowed);
}

void MoveAndTapExecutor::failStep() {
    AIExecutor::failStep();
    if (std::shared_ptr<Step> refused = randomElement(moves().unchangingAddOrMultiplySteps()))
        animateStep(refused);
    else
        playMix(Fallback::Allowed);
}

void MoveAndTapExecutor::playProgress(Fallback fallback) {
    AIExecutor::progressStep();
    if (std::shared_ptr<Step> step = moves().randomSuccessfulAddOrMultiplyStep())
        animateStep(step);
    else if (fallback == Fallback::Allowed)
        playMix(Fallback::Spent);
    else
        cancelAnimations();
}

void MoveAndTapExecutor::playMix(Fallback fallback) {
    AIExecutor::mixStep();
    const ExprPtr expr = mainExpr();
    auto* list = dynamic_cast<const ExprList*>(expr.get());
    if (!list) {
        if (fallback == Fallback::Allowed)
            playProgress(Fallback::Spent);
        else
            cancelAnimations();
        return;
    }
    // Inner lists are commuted as often as the outer list's members, one each.
    std::vector<const ExprList*> innerLists;
    for (const ExprPtr& member : list->exprs()) {
        if (auto* inner = dynamic_cast<const ExprList*>(member.get()))
            innerLists.push_back(inner);
    }
    const size_t choice = randomIndex(list->exprs().size() + innerLists.size());
    const ExprList& commuted = choice < list->exprs().size() ? *list : *randomElement(innerLists);
    animateStep(MoveFinder::commuteStepFromExprList(commuted));
}

} // namespace zm
