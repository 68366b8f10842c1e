#pragma once

#include "platform/ui/CollectionView.h"
#include "problemsets/screens/DeleteMe.h"
#include "problemsets/store/QVDocumentListener.h"
#include "shell/screens/TopicViewController.h"

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

namespace ui {
class Button;
}

namespace zm {

class ProblemListDocument;

// The screen of the player's own topic: every problem set of the store as a numbered cell with the
// set's name. A tap opens the set's screen; "Edit" puts a delete button on every cell; "Quick Problem"
// opens a playground for one typed problem and "+ New Problem Set" makes a set and opens it; "Topics"
// goes home. The set's screen (ProblemListViewController) derives from it, with its problems as the
// list.
//
// The cells show the store's list as it was when the collection last read it, and a cell deletes the
// set it shows: the store's list may change meanwhile (a migration, another copy of the game). The
// screen listens to the store while it is shown.
//
// Made from the interface file "MasterListViewController" ("~ipad" on a tablet).
//
// Main thread only.
class MasterListViewController : public TopicViewController,
                                 public ui::CollectionViewDataSource,
                                 public ui::CollectionViewDelegate,
                                 public QVDocumentListener,
                                 public DeleteMe {
public:
    static constexpr std::string_view kInterfaceName = "MasterListViewController";
    static constexpr std::string_view kCellIdentifier = "ProblemListCell";
    static constexpr int kNameTag = 5;

    // A new list of sets; null when it cannot be made.
    static std::shared_ptr<MasterListViewController> spawnFromXib();
    // The interface-file way of making one.
    static std::shared_ptr<MasterListViewController> create();

    void connectOutlets(ui::Outlets& outlets) override;
    std::function<void()> actionNamed(std::string_view name) override;
    // Starts browsing, then finishViewDidLoad.
    void viewDidLoad() override;
    // Becomes the store's listener, and shows the store's list as it is now.
    void viewWillAppear(bool animated) override;
    ui::StatusBarStyle preferredStatusBarStyle() const override { return ui::StatusBarStyle::LightContent; }
    // The bottom bar: 60 points high on a phone, 144 on a tablet.
    float bottomViewHeight() const override;

    // The titles, and the blurred strip under the bottom buttons.
    virtual void finishViewDidLoad();

    virtual void hitHome();
    // Into edit mode ("Done") or out of it ("Edit"); every cell takes the mode.
    virtual void hitEdit();
    void hitQuickProblem();
    // A new set in the store's folder, written empty and then opened.
    void hitNewProblemSet();

    // DeleteMe: deletes the set the cell at `row` shows, without asking; deleting the last set leaves
    // edit mode.
    void deleteMeAtIndex(unsigned row) override;
    // QVDocumentListener.
    void documentListUpdated() override;

    virtual size_t totalRows();

    // The collection.
    int numberOfItems(ui::CollectionView& collectionView, int section) override;
    std::shared_ptr<ui::CollectionViewCell> cellForItem(ui::CollectionView& collectionView,
                                                        const ui::IndexPath& indexPath) override;
    // Opens the set, in edit mode too.
    void didSelectItem(ui::CollectionView& collectionView, const ui::IndexPath& indexPath) override;
    // A pressed cell grows to 105 % and shrinks back when let go, in 0.1 s.
    void didHighlightItem(ui::CollectionView& collectionView, const ui::IndexPath& indexPath) override;
    void didUnhighlightItem(ui::CollectionView& collectionView, const ui::IndexPath& indexPath) override;

    bool problemEditing() const { return m_problemEditing; }
    const std::shared_ptr<ui::CollectionView>& collectionView() const { return m_collectionView; }
    const std::shared_ptr<ui::Button>& topRightButton() const { return m_topRightButton; }
    std::shared_ptr<ui::View> bottomView() const { return m_bottomView.lock(); }
    std::shared_ptr<ui::Button> homeButton() const { return m_homeButton.lock(); }
    const std::shared_ptr<ui::View>& collectionViewContainerView() const { return m_collectionViewContainerView; }
    std::shared_ptr<ui::Button> quickProblemButton() const { return m_quickProblemButton.lock(); }
    std::shared_ptr<ui::Button> createProblemSetButton() const { return m_createProblemSetButton.lock(); }
    // The sets the cells show, as the collection last read them.
    const std::vector<std::filesystem::path>& shownURLs() const { return m_shownURLs; }

protected:
    MasterListViewController();

    std::shared_ptr<MasterListViewController> self();
    void reloadCollection();
    // Puts the blurred strip into the bottom bar, then `buttons` above it.
    void fillBottomBar(std::initializer_list<std::shared_ptr<ui::Button>> buttons);
    // Slides forward to a new screen of `document`.
    void pushSetScreen(std::shared_ptr<ProblemListDocument> document);

private:
    bool m_problemEditing = false;
    std::shared_ptr<ui::CollectionView> m_collectionView;
    std::shared_ptr<ui::Button> m_topRightButton;
    std::weak_ptr<ui::View> m_bottomView;
    std::weak_ptr<ui::Button> m_homeButton;
    std::shared_ptr<ui::View> m_collectionViewContainerView;
    std::weak_ptr<ui::Button> m_quickProblemButton;
    std::weak_ptr<ui::Button> m_createProblemSetButton;
    std::vector<std::filesystem::path> m_shownURLs;
};

} // namespace zm
