#include "shell/playground/HistoryManager.h"

#include "platform/ui/Button.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"

namespace zm {

namespace {

ExprPtr copyOf(const ExprPtr& expr) {
    return expr ? expr->copyWithBag(nullptr) : nullptr;
}

} // namespace

HistoryManager::HistoryManager(std::weak_ptr<PlaygroundView> playgroundView,
                               std::weak_ptr<ui::Button> undoButton, std::weak_ptr<ui::Button> restartButton)
    : m_playgroundView(std::move(playgroundView))
    , m_undoButton(std::move(undoButton))
    , m_restartButton(std::move(restartButton)) {}

void HistoryManager::startedNewProblem(const ExprPtr& problem) {
    m_exprStack.clear();
    m_originalExpr = copyOf(problem);
    m_previousExpr = nullptr;
    disableButtons();
}

bool HistoryManager::respondsTo(PlaygroundMessage message) const {
    return message == PlaygroundMessage::WillExecuteStep || message == PlaygroundMessage::ExecutedStep;
}

void HistoryManager::willExecuteStep(const std::shared_ptr<Step>&, const ExprPtr& expr) {
    m_previousExpr = copyOf(expr);
}

void HistoryManager::executedStep(const std::shared_ptr<Step>&) {
    const std::shared_ptr<PlaygroundView> playgroundView = m_playgroundView.lock();
    if (!playgroundView || playgroundView->modalVisible())
        return;
    // Nothing kept (right after a start): there is no state before the change to go back to.
    if (!m_previousExpr)
        return;
    const std::shared_ptr<PlaygroundMain>& main = playgroundView->mainPlayground();
    const ExprPtr current = main ? main->mainExpr() : nullptr;
    if (current && current->isExactMatch(*m_previousExpr))
        return;
    m_exprStack.push_back(m_previousExpr);
    setButtonsEnabled(true);
}

void HistoryManager::undo() {
    if (m_exprStack.empty())
        return;
    const ExprPtr last = std::move(m_exprStack.back());
    m_exprStack.pop_back();
    m_previousExpr = copyOf(last);
    if (const std::shared_ptr<PlaygroundView> playgroundView = m_playgroundView.lock())
        playgroundView->setNewProblem(copyOf(last));
    if (m_exprStack.empty())
        disableButtons();
}

void HistoryManager::updateState() {
    setButtonsEnabled(!m_exprStack.empty());
}

void HistoryManager::disableButtons() {
    setButtonsEnabled(false);
}

void HistoryManager::setButtonsEnabled(bool enabled) {
    for (const std::weak_ptr<ui::Button>& weakButton : {m_undoButton, m_restartButton}) {
        if (const std::shared_ptr<ui::Button> button = weakButton.lock())
            button->setEnabled(enabled);
    }
}

} // namespace zm
