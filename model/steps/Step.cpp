#include "model/steps/Step.h"

namespace zm {

std::shared_ptr<Playground> Step::createModalPlayground(ModalPlaygroundFactory&) {
    return nullptr;
}

ExprPtr Step::applyToExpr(const ExprPtr& root, TransitionRecord*) {
    return root;
}

StepPtr Step::remakeStepFromExprIDsUsingExpr(const ExprPtr&) const {
    return nullptr;
}

std::string Step::description() const {
    return "<Step>";
}

ExprPtr applyToIdCopy(const Step& step, const Expr& tree) {
    ExprPtr copy = tree.copy();
    if (!copy)
        return nullptr;
    copy->deepCopyExprIDsFromExpr(tree);
    StepPtr retargeted = step.remakeStepFromExprIDsUsingExpr(copy);
    return retargeted ? retargeted->applyToExpr(copy, nullptr) : nullptr;
}

bool stepChangesExpr(const Step& step, const Expr& tree) {
    ExprPtr result = applyToIdCopy(step, tree);
    return result && !result->isExactMatch(tree);
}

} // namespace zm
