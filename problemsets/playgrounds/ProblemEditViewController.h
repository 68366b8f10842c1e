#pragma once

#include "problemsets/documents/ProblemListDocument.h"
#include "problemsets/playgrounds/QuickPlaygroundViewController.h"

#include <memory>
#include <string_view>

namespace zm {

class ProblemListViewController;

// Types a new problem for a set, or changes one: the keyboard opens with the problem's text, the typed
// problem shows as it is typed, and Done puts it in the set (in the old problem's place, or at the
// end) while Cancel changes nothing; both slide back to a new screen of the same set. A text emptied
// before Done changes nothing either.
//
// Made from the interface file "ProblemEditViewController", one for every device.
//
// Main thread only.
class ProblemEditViewController : public QuickPlaygroundViewController {
public:
    static constexpr std::string_view kInterfaceName = "ProblemEditViewController";

    static std::shared_ptr<ProblemEditViewController> spawnFromXib();
    static std::shared_ptr<ProblemEditViewController> create();

    // Shows the problem being changed.
    void viewDidLoad() override;
    // Opens the keyboard.
    void viewDidAppear(bool animated) override;

    // The problem's text form, blanks and all; nothing for a new problem.
    std::optional<std::string> initialText() override;
    // The typed problem is the one to store.
    void updateInputWithExpr(const ExprPtr& expr, bool readable) override;
    // An emptied text is no problem to store.
    void clearExprInput() override;
    void cancelInput() override;
    void finishInput() override;

    std::shared_ptr<ProblemListViewController> problemListViewController() const {
        return m_problemListViewController.lock();
    }
    void setProblemListViewController(std::weak_ptr<ProblemListViewController> screen) {
        m_problemListViewController = std::move(screen);
    }
    const std::shared_ptr<ProblemListDocument>& document() const { return m_document; }
    void setDocument(std::shared_ptr<ProblemListDocument> document) { m_document = std::move(document); }
    // The set's own problem being changed (the very object of its list); null for a new problem.
    const ExprPtr& originalProblem() const { return m_originalProblem; }
    void setOriginalProblem(ExprPtr problem) { m_originalProblem = std::move(problem); }

protected:
    ProblemEditViewController();

private:
    // Slides back to a new screen of the set.
    void returnToSet();

    std::weak_ptr<ProblemListViewController> m_problemListViewController;
    std::shared_ptr<ProblemListDocument> m_document;
    ExprPtr m_originalProblem;
};

} // namespace zm
