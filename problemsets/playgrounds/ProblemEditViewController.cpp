#include "problemsets/playgrounds/ProblemEditViewController.h"

#include "playground/PlaygroundView.h"
#include "problemsets/screens/ProblemListViewController.h"
#include "shell/container/ContainerViewController.h"
#include "shell/screens/ScreenFactory.h"

namespace zm {

std::shared_ptr<ProblemEditViewController> ProblemEditViewController::spawnFromXib() {
    return std::dynamic_pointer_cast<ProblemEditViewController>(zm::spawnFromXib(kInterfaceName, kInterfaceName));
}

std::shared_ptr<ProblemEditViewController> ProblemEditViewController::create() {
    return std::shared_ptr<ProblemEditViewController>(new ProblemEditViewController);
}

ProblemEditViewController::ProblemEditViewController() = default;

void ProblemEditViewController::viewDidLoad() {
    QuickPlaygroundViewController::viewDidLoad();
    if (m_originalProblem && playgroundView())
        playgroundView()->setNewProblem(m_originalProblem->copyWithBag(nullptr));
}

void ProblemEditViewController::viewDidAppear(bool) {
    hitEdit();
}

std::optional<std::string> ProblemEditViewController::initialText() {
    return m_originalProblem ? m_originalProblem->description() : std::string();
}

void ProblemEditViewController::updateInputWithExpr(const ExprPtr& expr, bool readable) {
    QuickPlaygroundViewController::updateInputWithExpr(expr, readable);
    setCurrentProblem(expr);
}

void ProblemEditViewController::clearExprInput() {
    QuickPlaygroundViewController::clearExprInput();
    setCurrentProblem(nullptr);
}

void ProblemEditViewController::cancelInput() {
    returnToSet();
}

void ProblemEditViewController::finishInput() {
    if (m_document)
        m_document->replaceProblem(m_originalProblem, currentProblem());
    returnToSet();
}

void ProblemEditViewController::returnToSet() {
    const std::shared_ptr<ContainerViewController> container = containerVC();
    std::shared_ptr<ProblemListViewController> set = ProblemListViewController::spawnFromXib();
    if (!container || !set)
        return;
    set->setContainerVC(container);
    set->setDocument(m_document);
    container->popToTopicVC(std::move(set));
}

} // namespace zm
