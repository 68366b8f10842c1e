#include "problemsets/playgrounds/QuickPlaygroundViewController.h"

#include "platform/core/Localization.h"
#include "platform/ui/Button.h"
#include "platform/ui/Outlets.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "problemsets/screens/MasterListViewController.h"
#include "shell/container/ContainerViewController.h"
#include "shell/playground/HistoryManager.h"
#include "shell/screens/ScreenFactory.h"

#include <algorithm>

namespace zm {

std::shared_ptr<QuickPlaygroundViewController> QuickPlaygroundViewController::spawnFromXib() {
    return std::dynamic_pointer_cast<QuickPlaygroundViewController>(
        zm::spawnFromXib(kInterfaceName, kInterfaceName));
}

std::shared_ptr<QuickPlaygroundViewController> QuickPlaygroundViewController::create() {
    return std::shared_ptr<QuickPlaygroundViewController>(new QuickPlaygroundViewController);
}

QuickPlaygroundViewController::QuickPlaygroundViewController() = default;

std::shared_ptr<QuickPlaygroundViewController> QuickPlaygroundViewController::quickSelf() {
    return std::static_pointer_cast<QuickPlaygroundViewController>(shared_from_this());
}

void QuickPlaygroundViewController::connectOutlets(ui::Outlets& outlets) {
    outlets.weak("editButton", m_editButton);
    PlaygroundViewController::connectOutlets(outlets);
}

std::function<void()> QuickPlaygroundViewController::actionNamed(std::string_view name) {
    if (name == "hitEdit:")
        return [this] { hitEdit(); };
    return PlaygroundViewController::actionNamed(name);
}

void QuickPlaygroundViewController::viewDidLoad() {
    PlaygroundViewController::viewDidLoad();
    if (const std::shared_ptr<ui::Button> home = homeButton())
        home->setTitle(core::localized("Problem Sets"));
    if (const std::shared_ptr<ui::Button> edit = editButton())
        edit->setTitle(core::localized("Edit"));
}

void QuickPlaygroundViewController::viewDidAppear(bool) {
    hitEdit();
}

void QuickPlaygroundViewController::finishViewDidLoad() {}

void QuickPlaygroundViewController::hitEdit() {
    if (const std::shared_ptr<PlaygroundView>& playground = playgroundView())
        playground->beginInputWithInputDelegate(std::static_pointer_cast<ExprInputDelegate>(quickSelf()));
}

void QuickPlaygroundViewController::hitHome() {
    if (const std::shared_ptr<ContainerViewController> container = containerVC())
        container->zoomOutToTopicVC(MasterListViewController::spawnFromXib());
}

void QuickPlaygroundViewController::startProblem(ExprPtr problem) {
    setCurrentProblem(problem ? problem->copyWithBag(nullptr) : nullptr);
    if (const std::shared_ptr<PlaygroundView>& playground = playgroundView())
        playground->setNewProblem(problem);
    if (HistoryManager* history = historyManager())
        history->startedNewProblem(problem);
}

void QuickPlaygroundViewController::addChildInputViewController(
    const std::shared_ptr<ExprInputViewController>& controller) {
    // A second keyboard is turned away by the base: what it would bring back stays as it was.
    if (inputVC())
        return;
    const ExprPtr shown = shownExpr();
    m_ogProblem = shown ? shown->copyWithBag(nullptr) : nullptr;
    PlaygroundViewController::addChildInputViewController(controller);
}

ExprPtr QuickPlaygroundViewController::shownExpr() const {
    const std::shared_ptr<PlaygroundView>& playground = playgroundView();
    if (!playground || !playground->mainPlayground())
        return nullptr;
    return playground->mainPlayground()->mainExpr();
}

void QuickPlaygroundViewController::cancelInput() {
    if (const std::shared_ptr<PlaygroundView>& playground = playgroundView())
        playground->enableTouchInput();
    if (m_ogProblem)
        startProblem(m_ogProblem);
    else
        clearExprInput();
}

void QuickPlaygroundViewController::clearExprInput() {
    const std::shared_ptr<PlaygroundView>& playground = playgroundView();
    if (!playground)
        return;
    playground->setNewProblem(nullptr);
    playground->clear();
    if (const std::shared_ptr<PlaygroundMain>& main = playground->mainPlayground())
        main->setMainExpr(nullptr);
}

void QuickPlaygroundViewController::updateInputWithExpr(const ExprPtr& expr, bool) {
    // Shown at once, and not to be played while it is typed.
    startProblem(expr);
    if (const std::shared_ptr<PlaygroundView>& playground = playgroundView())
        playground->disableTouchInput();
}

void QuickPlaygroundViewController::finishInput() {
    if (const std::shared_ptr<PlaygroundView>& playground = playgroundView())
        playground->enableTouchInput();
}

std::optional<std::string> QuickPlaygroundViewController::initialText() {
    const ExprPtr shown = shownExpr();
    if (!shown)
        return std::nullopt;
    std::string text = shown->description();
    std::erase_if(text, [](char c) { return c == ' '; });
    return text;
}

} // namespace zm
