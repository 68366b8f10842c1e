#include "model/steps/Step.h"

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include <cxxabi.h>

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
    // Steps without a debugging text of their own print their kind, as "<StepCommute>".
    const char* mangled = typeid(*this).name();
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    std::string_view name = status == 0 && demangled ? std::string_view(demangled.get()) : mangled;
    if (const size_t scope = name.rfind("::"); scope != std::string_view::npos)
        name.remove_prefix(scope + 2);
    return "<" + std::string(name) + ">";
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
