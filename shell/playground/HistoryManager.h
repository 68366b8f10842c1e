#pragma once

#include "model/Expr.h"
#include "playground/PlaygroundDelegate.h"

#include <memory>
#include <vector>

namespace ui {
class Button;
}

namespace zm {

class PlaygroundView;

// The undo history of one playground: copies of the expression as it was before each change, and the
// problem as it was started. It keeps the screen's Undo and Restart buttons enabled exactly while there
// is something to undo, and on Undo puts the last copy back on the playground.
//
// The screen forwards the playground's step messages to it. A step that changes nothing, or one made
// inside a modal playground, is not recorded by itself: a whole modal interaction is one change, from
// the expression before the modal playground opened to the one after it closed.
//
// The playground changes the expression it shows in place, so the history never hands out what it
// keeps: every expression it keeps or shows is a copy of its own.
//
// Main thread only.
class HistoryManager : public PlaygroundDelegate {
public:
    // Follows `playgroundView` and switches the two buttons; none of them is owned.
    HistoryManager(std::weak_ptr<PlaygroundView> playgroundView, std::weak_ptr<ui::Button> undoButton,
                   std::weak_ptr<ui::Button> restartButton);

    // A new history for `problem`: nothing to undo.
    using PlaygroundDelegate::startedNewProblem;
    void startedNewProblem(const ExprPtr& problem);

    bool respondsTo(PlaygroundMessage message) const override;
    // Keeps a copy of the expression as it is before the step (or before a modal playground opens).
    void willExecuteStep(const std::shared_ptr<Step>& step, const ExprPtr& expr) override;
    // Records the kept copy when the step changed the expression and no modal playground is open.
    void executedStep(const std::shared_ptr<Step>& step) override;

    // Shows the expression as it was before the last recorded change; nothing when there is none.
    void undo();
    // Enables Undo and Restart when there is something to undo; disables them otherwise.
    void updateState();
    void disableButtons();

    const ExprPtr& originalExpr() const { return m_originalExpr; }
    const ExprPtr& previousExpr() const { return m_previousExpr; }
    // Oldest first.
    const std::vector<ExprPtr>& exprStack() const { return m_exprStack; }

private:
    void setButtonsEnabled(bool enabled);

    ExprPtr m_originalExpr;
    ExprPtr m_previousExpr;
    std::vector<ExprPtr> m_exprStack;
    std::weak_ptr<PlaygroundView> m_playgroundView;
    std::weak_ptr<ui::Button> m_undoButton;
    std::weak_ptr<ui::Button> m_restartButton;
};

} // namespace zm
