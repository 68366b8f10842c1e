#include "problemsets/screens/MasterListViewController.h"

#include "components/KHProgressHUD/KHProgressHUD.h"
#include "platform/core/Log.h"
#include "platform/ui/Label.h"
#include "problemsets/documents/ProblemListDocument.h"
#include "problemsets/screens/ProblemListViewController.h"
#include "problemsets/testing/ProblemSetScreenTesting.h"
#include "shell/home/HomeViewController.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace zm {
namespace {

class MasterList : public testing::ProblemSetScreenTest {};

TEST_F(MasterList, CreateYourOwnOpensTheListOfSetsWithItsButtons) {
    makeSet(localFolder(), "b.problemlist");
    makeSet(localFolder(), "My.Set.problemlist");
    makeSet(localFolder(), "C.problemlist");
    for (const ui::Device& device : {testing::kPhone, testing::kTablet}) {
        SCOPED_TRACE(device.isTablet() ? "tablet" : "phone");
        const std::shared_ptr<MasterListViewController> list = openProblemSets(device);
        ASSERT_TRUE(list);
        // The store made on the way listens to the list shown.
        EXPECT_EQ(store->delegate(), std::static_pointer_cast<QVDocumentListener>(list));
        EXPECT_EQ(shownNames(*list), (std::vector<std::string>{"b", "C", "My.Set"}));
        const auto shown = cells(*list);
        EXPECT_EQ(shown[0]->numberLabel()->text(), "1:");
        EXPECT_EQ(shown[2]->numberLabel()->text(), "3:");
        EXPECT_EQ(list->homeButton()->currentTitle(), "Topics");
        EXPECT_EQ(list->topRightButton()->currentTitle(), "Edit");
        EXPECT_EQ(list->quickProblemButton()->currentTitle(), "Quick Problem");
        EXPECT_EQ(list->createProblemSetButton()->currentTitle(), "+ New Problem Set");
        EXPECT_EQ(list->bottomView()->frame().height(), device.isTablet() ? 144 : 60);
        EXPECT_EQ(list->bottomViewHeight(), device.isTablet() ? 144 : 60);
        // The buttons lie above the blurred strip.
        const auto& bar = list->bottomView()->subviews();
        ASSERT_GE(bar.size(), 3u);
        EXPECT_EQ(bar[bar.size() - 3]->frame().height(), list->bottomViewHeight());
        EXPECT_EQ(bar[bar.size() - 1], list->createProblemSetButton());

        tapButton(list->homeButton());
        EXPECT_TRUE(current<HomeViewController>());
    }
}

TEST_F(MasterList, TheFirstNewSetIsProblemSetAndOpensAtOnce) {
    const std::shared_ptr<MasterListViewController> list = openProblemSets();
    EXPECT_TRUE(shownNames(*list).empty());
    tapButton(list->createProblemSetButton());
    const auto set = current<ProblemListViewController>();
    ASSERT_TRUE(set);
    EXPECT_EQ(set->document()->fileURL(), localFolder() / "ProblemSet.problemlist");
    EXPECT_EQ(core::readFile(localFolder() / "ProblemSet.problemlist").value(), "");
    EXPECT_EQ(set->textField()->text(), "ProblemSet");
    EXPECT_EQ(set->startSetButton()->currentTitle(), "Start ProblemSet");
    EXPECT_EQ(set->totalRows(), 0u);
    EXPECT_FALSE(KHProgressHUD::HUDForView(*set->view()));

    // Back on a new list, the set is there; a second one is ProblemSet(2).
    tapButton(set->homeButton());
    const auto again = current<MasterListViewController>();
    ASSERT_TRUE(again);
    EXPECT_EQ(shownNames(*again), std::vector<std::string>{"ProblemSet"});
    tapButton(again->createProblemSetButton());
    EXPECT_EQ(current<ProblemListViewController>()->textField()->text(), "ProblemSet(2)");
}

TEST_F(MasterList, ANewSetTheStoreCannotMakeChangesNothing) {
    const std::shared_ptr<MasterListViewController> list = openProblemSets();
    // The documents folder cannot be made: a file stands in its place.
    std::filesystem::remove_all(localFolder());
    makeSet(localFolder().parent_path(), "ProblemLists", "not a folder");
    core::LogCapture log;
    tapButton(list->createProblemSetButton());
    EXPECT_EQ(current<MasterListViewController>(), list);
    EXPECT_TRUE(store->documentURLs().empty());
}

// Edit mode: a tap on a cell still opens the set; the delete button deletes it; deleting the last set
// leaves edit mode.
TEST_F(MasterList, EditModeDeletesSetsAndEndsWithTheLast) {
    makeSet(localFolder(), "a.problemlist", "x\n");
    makeSet(localFolder(), "b.problemlist", "y\n");
    const std::shared_ptr<MasterListViewController> list = openProblemSets();
    tapButton(list->topRightButton());
    EXPECT_TRUE(list->problemEditing());
    EXPECT_EQ(list->topRightButton()->currentTitle(), "Done");
    for (const auto& cell : cells(*list)) {
        EXPECT_EQ(cell->deleteButton()->superview(), cell.get());
        EXPECT_EQ(cell->mainView()->backgroundColor(), core::Color::rgba(1, 0, 0));
    }

    tapDelete(*cells(*list)[0]);
    EXPECT_EQ(shownNames(*list), std::vector<std::string>{"b"});
    EXPECT_FALSE(std::filesystem::exists(localFolder() / "a.problemlist"));
    EXPECT_TRUE(list->problemEditing());

    tapDelete(*cells(*list)[0]);
    EXPECT_TRUE(shownNames(*list).empty());
    EXPECT_FALSE(list->problemEditing());
    EXPECT_EQ(list->topRightButton()->currentTitle(), "Edit");

    makeSet(localFolder(), "c.problemlist", "z\n");
    store->loadDocumentURLs();
    tapButton(list->topRightButton());
    tapOn(*cells(*list)[0]);
    const auto set = current<ProblemListViewController>();
    ASSERT_TRUE(set);
    EXPECT_EQ(set->textField()->text(), "c");
}

// Mend: only the list opened from home listened, so a later list showed an old order while the store
// changed, and a cell's row could name another set.
TEST_F(MasterList, EveryListListensAndACellDeletesTheSetItShows) {
    makeSet(localFolder(), "b.problemlist", "x\n");
    makeSet(localFolder(), "c.problemlist", "y\n");
    const std::shared_ptr<MasterListViewController> list = openProblemSets();
    tapOn(*cells(*list)[0]);
    tapButton(current<ProblemListViewController>()->homeButton());
    const auto later = current<MasterListViewController>();
    ASSERT_NE(later, list);
    EXPECT_EQ(store->delegate(), std::static_pointer_cast<QVDocumentListener>(later));
    makeSet(localFolder(), "a.problemlist", "z\n");
    store->loadDocumentURLs();
    EXPECT_EQ(shownNames(*later), (std::vector<std::string>{"a", "b", "c"}));

    // The store changes while nobody listens: the cells keep showing what they showed, and each deletes
    // its own set; one already gone deletes nothing.
    store->setDelegate({});
    std::filesystem::remove(localFolder() / "a.problemlist");
    makeSet(localFolder(), "0.problemlist", "w\n");
    store->loadDocumentURLs();
    tapButton(later->topRightButton());
    const auto shown = cells(*later);
    ASSERT_EQ(shownNames(*later), (std::vector<std::string>{"0", "b", "c"}));
    std::filesystem::remove(localFolder() / "0.problemlist");
    store->loadDocumentURLs();
    tapDelete(*shown[0]);
    EXPECT_EQ(filesIn(localFolder()), (std::vector<std::string>{"b.problemlist", "c.problemlist"}));
    tapDelete(*shown[1]);
    EXPECT_EQ(filesIn(localFolder()), std::vector<std::string>{"c.problemlist"});
}

TEST_F(MasterList, ASetMadeByAnotherCopyArrives) {
    useCloud(true);
    setChoice({true, true, true});
    const std::shared_ptr<MasterListViewController> list = openProblemSets();
    EXPECT_TRUE(shownNames(*list).empty());
    ASSERT_TRUE(documents::testing::writeInAnotherProcess(cloudFolder() / "Theirs.problemlist", "x + 1\n"));
    wait(documents::MetadataQuery::kPollInterval);
    EXPECT_EQ(shownNames(*list), std::vector<std::string>{"Theirs"});
}

} // namespace
} // namespace zm
