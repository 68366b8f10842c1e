#pragma once

#include "model/Expr.h"
#include "platform/core/NotificationCenter.h"
#include "platform/ui/TextField.h"
#include "problemsets/documents/ProblemListDocument.h"
#include "problemsets/screens/MasterListViewController.h"

#include <memory>
#include <string_view>

namespace zm {

// The screen of one problem set: its name in a text field (editing it renames the set), its problems
// as numbered cells of still playgrounds, "Edit" to delete problems, "+ New Problem" and a tap in edit
// mode to type one, "Start" and a tap otherwise to play the set from there, and "Problem Sets" back to
// the list. A set not read yet is opened under the overlay "Loading Problems".
//
// While shown it follows its document's state: a document in conflict (another copy of the game wrote
// the set meanwhile) is settled in favour of the newest version, and the document reads the set again.
// Leaving saves the document when it was read and has changes; renaming saves it before the file
// moves. Every return to the set makes a new screen for the same document, shown at once.
//
// Made from the interface file "ProblemListViewController" ("~ipad" on a tablet).
//
// Main thread only.
class ProblemListViewController : public MasterListViewController, public ui::TextFieldDelegate {
public:
    static constexpr std::string_view kInterfaceName = "ProblemListViewController";
    static constexpr std::string_view kCellIdentifier = "ProblemCell";
    static constexpr int kPlaygroundTag = 6;

    // A new set screen; null when it cannot be made.
    static std::shared_ptr<ProblemListViewController> spawnFromXib();
    // The interface-file way of making one.
    static std::shared_ptr<ProblemListViewController> create();

    void connectOutlets(ui::Outlets& outlets) override;
    std::function<void()> actionNamed(std::string_view name) override;
    // Follows the document's state; a document already in conflict is settled now.
    void viewWillAppear(bool animated) override;
    // Stops following it, and saves it when it was read and has changes.
    void viewWillDisappear(bool animated) override;

    // The screen's entry point: a document already read shows at once, any other is opened under the
    // loading overlay (set the container first: this loads the view).
    void setDocument(std::shared_ptr<ProblemListDocument> document);
    const std::shared_ptr<ProblemListDocument>& document() const { return m_document; }
    // The document's list, once it is read.
    const std::shared_ptr<ProblemList>& problems() const { return m_problems; }

    void finishViewDidLoad() override;
    // Back to a new list of sets, sliding.
    void hitHome() override;
    void hitStartSet();
    void hitNewProblem();
    // Deletes the problem of the cell at `row`; edit mode stays.
    void deleteMeAtIndex(unsigned row) override;
    // The store's list is not what this screen shows.
    void documentListUpdated() override {}
    size_t totalRows() override;

    // A change of the document's state: the problems again, and a conflict settled.
    void documentStateChanged();
    // Forgets the versions of the set kept aside.
    void clearConflicts();

    // Renames the set to the typed name.
    bool textFieldShouldReturn(ui::TextField& field) override;

    int numberOfItems(ui::CollectionView& collectionView, int section) override;
    std::shared_ptr<ui::CollectionViewCell> cellForItem(ui::CollectionView& collectionView,
                                                        const ui::IndexPath& indexPath) override;
    // In edit mode edits the problem, else plays the set from it.
    void didSelectItem(ui::CollectionView& collectionView, const ui::IndexPath& indexPath) override;

    const std::shared_ptr<ui::TextField>& textField() const { return m_textField; }
    std::shared_ptr<ui::Button> startSetButton() const { return m_startSetButton.lock(); }
    std::shared_ptr<ui::Button> createProblemButton() const { return m_createProblemButton.lock(); }

protected:
    ProblemListViewController();

private:
    std::shared_ptr<ProblemListViewController> screen();
    // Shows the document's name in the field and on the start button.
    void showName();
    // Settles a conflict of the document: the newest version in the file, then the file read again.
    void resolveConflict();
    // Zooms into playing the set from the problem at `row`.
    void playFrom(size_t row);
    // Slides forward to typing a problem in place of `problem`, or a new one.
    void editProblem(ExprPtr problem);

    std::shared_ptr<ProblemListDocument> m_document;
    std::shared_ptr<ProblemList> m_problems;
    std::shared_ptr<ui::TextField> m_textField;
    std::weak_ptr<ui::Button> m_startSetButton;
    std::weak_ptr<ui::Button> m_createProblemButton;
    core::NotificationCenter::Observation m_stateObservation;
};

} // namespace zm
