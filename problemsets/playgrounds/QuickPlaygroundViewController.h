#pragma once

#include "playground/keyboard/ExprInputDelegate.h"
#include "shell/playground/PlaygroundViewController.h"

#include <memory>
#include <string_view>

namespace zm {

// A playground for one problem the player types: the keyboard opens each time the screen is shown, the
// typed expression shows as it is typed (untouchable), Done makes it playable with undo and restart,
// and Cancel brings back what was shown when the keyboard opened. "Edit" opens the keyboard again on
// the problem as played so far; "Problem Sets" goes back to a new list of sets. Nothing is stored.
//
// The topic playground screen without a topic: no generated problems, progress, help or celebration.
// Made from the interface file "QuickPlaygroundViewController" ("~ipad" on a tablet).
//
// Main thread only.
class QuickPlaygroundViewController : public PlaygroundViewController, public ExprInputDelegate {
public:
    static constexpr std::string_view kInterfaceName = "QuickPlaygroundViewController";

    // A new quick problem; null when it cannot be made.
    static std::shared_ptr<QuickPlaygroundViewController> spawnFromXib();
    // The interface-file way of making one.
    static std::shared_ptr<QuickPlaygroundViewController> create();

    void connectOutlets(ui::Outlets& outlets) override;
    std::function<void()> actionNamed(std::string_view name) override;
    void viewDidLoad() override;
    // Opens the keyboard.
    void viewDidAppear(bool animated) override;
    // Nothing: no bar layout, progression or first problem.
    void finishViewDidLoad() override;

    // Opens the keyboard for this screen.
    void hitEdit();
    // Zooms out to a new list of sets.
    void hitHome() override;
    // Shows `problem` (the very object) and starts its undo history; touch input stays as it is.
    void startProblem(ExprPtr problem) override;
    // Keeps what is shown as the problem to come back to, then slides the keyboard in.
    void addChildInputViewController(const std::shared_ptr<ExprInputViewController>& controller) override;

    // ExprInputDelegate.
    void cancelInput() override;
    void clearExprInput() override;
    void updateInputWithExpr(const ExprPtr& expr, bool readable) override;
    void finishInput() override;
    // The text form of what is shown, without blanks.
    std::optional<std::string> initialText() override;

    std::shared_ptr<ui::Button> editButton() const { return m_editButton.lock(); }
    // What was shown when the keyboard last opened.
    const ExprPtr& ogProblem() const { return m_ogProblem; }

protected:
    QuickPlaygroundViewController();

    std::shared_ptr<QuickPlaygroundViewController> quickSelf();
    // The expression the playground shows, or null.
    ExprPtr shownExpr() const;

private:
    std::weak_ptr<ui::Button> m_editButton;
    ExprPtr m_ogProblem;
};

} // namespace zm
