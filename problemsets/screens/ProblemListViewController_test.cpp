#include "problemsets/screens/ProblemListViewController.h"

#include "components/KHProgressHUD/KHProgressHUD.h"
#include "platform/core/Log.h"
#include "platform/documents/FileVersionStore.h"
#include "platform/documents/testing/InMemoryFileVersionStore.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/views/ExprView.h"
#include "problemsets/documents/VersionConflict.h"
#include "problemsets/testing/ProblemSetScreenTesting.h"

#include <future>

#include <gtest/gtest.h>

namespace zm {
namespace {

class ProblemList : public testing::ProblemSetScreenTest {
protected:
    // Opens the list of sets and then the set `name`, and waits until it is read.
    std::shared_ptr<ProblemListViewController> openSet(const std::string& name,
                                                       const ui::Device& device = testing::kTablet) {
        const std::shared_ptr<MasterListViewController> list =
            device.isTablet() ? listOfSets() : openProblemSets(device);
        const std::vector<std::string> names = shownNames(*list);
        const auto found = std::find(names.begin(), names.end(), name);
        EXPECT_NE(found, names.end()) << name;
        if (found == names.end())
            return nullptr;
        tapOn(*cells(*list)[size_t(found - names.begin())]);
        return current<ProblemListViewController>();
    }

    // The text forms the set's cells show, by row.
    static std::vector<std::string> shownProblems(ProblemListViewController& set) {
        std::vector<std::string> texts;
        for (const auto& cell : cells(set)) {
            const auto* playground =
                dynamic_cast<const PlaygroundView*>(cell->viewWithTag(ProblemListViewController::kPlaygroundTag));
            const bool shows = playground && playground->mainPlayground() && playground->mainPlayground()->mainExpr();
            texts.push_back(shows ? playground->mainPlayground()->mainExpr()->description() : "?");
        }
        return texts;
    }

    std::string fileText(const std::string& name) {
        core::Result<std::string> read = core::readFile(localFolder() / name);
        return read ? *read : "(none)";
    }

    // Types `name` into the set's name field and presses return.
    void rename(ProblemListViewController& set, const std::string& name) {
        set.textField()->setText(name);
        EXPECT_TRUE(set.textFieldShouldReturn(*set.textField()));
        wait(1);
    }
};

TEST_F(ProblemList, ASetOpensUnderTheLoadingOverlayAndShowsItsProblems) {
    makeSet(localFolder(), "Algebra.problemlist", "x + 3 = 5\n2 * (x + 1)\n3+\n");
    const std::shared_ptr<MasterListViewController> list = openProblemSets();
    tapOn(*cells(*list)[0]);
    const auto incoming = current<ProblemListViewController>();
    ASSERT_TRUE(incoming);
    EXPECT_FALSE(KHProgressHUD::HUDForView(*incoming->view()));
    EXPECT_EQ(incoming->textField()->text(), "Algebra");
    EXPECT_EQ(incoming->homeButton()->currentTitle(), "Problem Sets");
    EXPECT_EQ(incoming->createProblemButton()->currentTitle(), "+ New Problem");
    EXPECT_EQ(incoming->startSetButton()->currentTitle(), "Start Algebra");
    EXPECT_EQ(shownProblems(*incoming), (std::vector<std::string>{"x + 3 = 5", "2 * (x + 1)", "3+"}));
    // Each problem starts at its cell's left edge, in the middle of its height, untouchable.
    for (const auto& cell : cells(*incoming)) {
        auto* playground = dynamic_cast<PlaygroundView*>(cell->viewWithTag(ProblemListViewController::kPlaygroundTag));
        ASSERT_TRUE(playground);
        EXPECT_FALSE(playground->isUserInteractionEnabled());
        const ExprView& expr = *playground->mainPlayground()->mainExprView();
        const core::Point middleLeft = expr.getPointAtPosition(AnchorMiddleLeft);
        EXPECT_NEAR(middleLeft.x, 0, 0.5);
        EXPECT_NEAR(middleLeft.y, playground->bounds().height() / 2, 0.5);
    }
    // Nothing changed: leaving writes nothing.
    const auto stamp = documents::stampOf(localFolder() / "Algebra.problemlist").value();
    tapButton(incoming->homeButton());
    EXPECT_TRUE(current<MasterListViewController>());
    EXPECT_EQ(documents::stampOf(localFolder() / "Algebra.problemlist").value(), stamp);
}

TEST_F(ProblemList, ADocumentAlreadyReadShowsAtOnceWithoutTheOverlay) {
    makeSet(localFolder(), "Algebra.problemlist", "x\ny\n");
    const auto set = openSet("Algebra");
    const std::shared_ptr<ProblemListDocument> document = set->document();
    auto again = ProblemListViewController::spawnFromXib();
    again->setContainerVC(application->containerVC());
    again->setDocument(document);
    container().popToTopicVC(again);
    host->advance(0.05);
    EXPECT_FALSE(KHProgressHUD::HUDForView(*again->view()));
    EXPECT_EQ(again->problems(), document->problems());
    wait(1);
    EXPECT_EQ(shownProblems(*again), (std::vector<std::string>{"x", "y"}));
}

TEST_F(ProblemList, EditModeDeletesProblemsAndStays) {
    makeSet(localFolder(), "Algebra.problemlist", "x\nx\n");
    const auto set = openSet("Algebra");
    tapButton(set->topRightButton());
    EXPECT_EQ(set->topRightButton()->currentTitle(), "Done");
    // Two problems of the same text are two entries: deleting the second leaves the first.
    const ExprPtr first = set->problems()->front();
    tapDelete(*cells(*set)[1]);
    ASSERT_EQ(set->problems()->size(), 1u);
    EXPECT_EQ(set->problems()->front(), first);
    tapDelete(*cells(*set)[0]);
    EXPECT_TRUE(cells(*set).empty());
    EXPECT_TRUE(set->problemEditing());
    EXPECT_EQ(set->topRightButton()->currentTitle(), "Done");
    set->deleteMeAtIndex(0);
    // Leaving writes the emptied set.
    tapButton(set->homeButton());
    EXPECT_EQ(fileText("Algebra.problemlist"), "");
}

// Renaming: the same name changes nothing; another set's name gets the number 2; a name the folder
// cannot hold is made one it can.
TEST_F(ProblemList, RenamingTheSet) {
    makeSet(localFolder(), "Algebra.problemlist", "x\n");
    makeSet(localFolder(), "Other.problemlist", "y\n");
    const auto set = openSet("Algebra");
    const std::shared_ptr<ProblemListDocument> before = set->document();
    rename(*set, "Algebra");
    EXPECT_EQ(set->document(), before);
    EXPECT_FALSE(set->textField()->isFirstResponder());

    rename(*set, "Other");
    EXPECT_EQ(set->textField()->text(), "Other(2)");
    EXPECT_EQ(set->startSetButton()->currentTitle(), "Start Other(2)");
    EXPECT_EQ(set->document()->fileURL(), localFolder() / "Other(2).problemlist");
    EXPECT_EQ(shownProblems(*set), std::vector<std::string>{"x"});
    EXPECT_FALSE(KHProgressHUD::HUDForView(*set->view()));

    rename(*set, "../Escaped");
    EXPECT_EQ(set->textField()->text(), "-Escaped");
    EXPECT_EQ(filesIn(localFolder()), (std::vector<std::string>{"-Escaped.problemlist", "Other.problemlist"}));
    tapButton(set->homeButton());
    EXPECT_EQ(shownNames(*current<MasterListViewController>()), (std::vector<std::string>{"-Escaped", "Other"}));
}

// Mend: renaming moved the file as last written and read it again, losing edits not yet written; the
// old document could later write its old place again.
TEST_F(ProblemList, ARenameKeepsTheEditsAndLeavesNothingBehind) {
    makeSet(localFolder(), "Algebra.problemlist", "x\ny\n");
    const auto set = openSet("Algebra");
    const std::weak_ptr<ProblemListDocument> old = set->document();
    tapButton(set->topRightButton());
    tapDelete(*cells(*set)[0]);
    rename(*set, "Renamed");
    EXPECT_EQ(shownProblems(*set), std::vector<std::string>{"y"});
    EXPECT_EQ(filesIn(localFolder()), std::vector<std::string>{"Renamed.problemlist"});
    EXPECT_EQ(fileText("Renamed.problemlist"), "y\n");
    // Whatever becomes of the old document, its place stays empty.
    if (const std::shared_ptr<ProblemListDocument> held = old.lock()) {
        held->updateChangeCount(documents::ChangeKind::Done);
        core::LogCapture log;
        wait(documents::Document::kAutosaveDelay);
        host->application().terminate();
    }
    EXPECT_EQ(filesIn(localFolder()), std::vector<std::string>{"Renamed.problemlist"});
}

// Mend: leaving saved unconditionally, so a set that failed to open (or was still opening) was written
// over with nothing.
TEST_F(ProblemList, LeavingNeverWritesASetThatWasNotRead) {
    const std::string unreadable = "x + 1\n\xff\xfe\n";
    makeSet(localFolder(), "Broken.problemlist", unreadable);
    makeSet(localFolder(), "Slow.problemlist", "x\n");
    core::LogCapture log;
    const auto broken = openSet("Broken");
    EXPECT_FALSE(KHProgressHUD::HUDForView(*broken->view()));
    EXPECT_TRUE(cells(*broken).empty());
    EXPECT_EQ(broken->textField()->text(), "Broken");
    tapButton(broken->homeButton());
    EXPECT_EQ(fileText("Broken.problemlist"), unreadable);

    // The file queue is held, so the set is still being read when the player leaves.
    const auto list = current<MasterListViewController>();
    std::promise<void> release;
    documents::FileQueue::shared().async([held = release.get_future().share()] { held.wait(); });
    testing::tap(*host, testing::middleInWindow(*cells(*list)[1]));
    host->advance(1);
    const auto slow = current<ProblemListViewController>();
    ASSERT_TRUE(slow);
    EXPECT_TRUE(KHProgressHUD::HUDForView(*slow->view()));
    testing::tap(*host, testing::middleInWindow(*slow->homeButton()));
    host->advance(1);
    release.set_value();
    wait(documents::Document::kAutosaveDelay);
    EXPECT_EQ(fileText("Slow.problemlist"), "x\n");
}

// Mend: a set deleted at once after leaving it could be written again by the save of its departure.
TEST_F(ProblemList, ASetDeletedRightAfterLeavingItStaysDeleted) {
    makeSet(localFolder(), "Algebra.problemlist", "x\ny\n");
    const auto set = openSet("Algebra");
    tapButton(set->topRightButton());
    tapDelete(*cells(*set)[0]);
    const std::shared_ptr<ProblemListDocument> document = set->document();
    // The departure's save is on its way when the set is deleted.
    testing::tap(*host, testing::middleInWindow(*set->homeButton()));
    host->advance(1);
    const auto list = current<MasterListViewController>();
    tapButton(list->topRightButton());
    tapDelete(*cells(*list)[0]);
    document->updateChangeCount(documents::ChangeKind::Done);
    core::LogCapture log;
    wait(documents::Document::kAutosaveDelay);
    host->application().terminate();
    EXPECT_TRUE(filesIn(localFolder()).empty());
}

// The newest version wins: which one, by the dates of the current version and the kept ones.
TEST(VersionConflict, TheNewestVersionWins) {
    struct Case {
        const char* name;
        double current;
        std::vector<std::pair<std::string, double>> others;
        bool replaced;
        std::string kept;
    };
    const Case cases[] = {
        {"another version newer", 10, {{"older", 5}, {"newer", 20}}, true, "newer"},
        {"the current version newer", 30, {{"older", 5}, {"newer", 20}}, false, "current"},
        {"equal dates: the later kept", 10, {{"first", 20}, {"second", 20}}, true, "second"},
        {"equal to the current: the kept one", 20, {{"kept", 20}}, true, "kept"},
        {"none kept", 10, {}, false, "current"},
    };
    const std::filesystem::path url = "/sets/Algebra.problemlist";
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        documents::testing::InMemoryFileVersionStore store;
        store.setCurrent(url, "current", test.current);
        for (const auto& [bytes, date] : test.others)
            store.addOther(url, bytes, date);
        EXPECT_EQ(replaceWithNewestVersion(store, url), test.replaced);
        EXPECT_EQ(store.item(url).current->bytes, test.kept);
        clearConflicts(store, url);
        EXPECT_TRUE(store.otherVersionsOfItem(url).empty());
        EXPECT_TRUE(store.unresolvedConflictVersionsOfItem(url).empty());
    }
}

// A set the screen shows goes in conflict: the newest version ends up on screen and in the file, and no
// version is left over.
TEST_F(ProblemList, AConflictEndsWithTheNewestVersion) {
    struct Case {
        const char* name;
        bool keptNewer;
        std::vector<std::string> shown;
    };
    const Case cases[] = {{"the kept version newer", true, {"kept"}}, {"the current version newer", false, {"current"}}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        makeSet(localFolder(), "Algebra.problemlist", "x\n");
        const auto set = openSet("Algebra");
        const std::filesystem::path url = localFolder() / "Algebra.problemlist";
        documents::FileVersionStore& versions = documents::FileVersionStore::shared();
        ASSERT_TRUE(documents::testing::writeAsAnotherProgram(url, "current\n"));
        ASSERT_TRUE(versions.addConflictVersionOfItem(url, "kept\n").ok());
        // The older of the two an hour before the other (file times are too coarse to tell apart two
        // writes in a row).
        const std::filesystem::path older = test.keptNewer ? url : versions.otherVersionsOfItem(url).at(0).url;
        std::filesystem::last_write_time(older, std::filesystem::last_write_time(older) - std::chrono::hours(1));
        // The set is read again with the versions waiting: it is in conflict.
        set->document()->revert({});
        wait(1);
        EXPECT_EQ(shownProblems(*set), test.shown);
        EXPECT_EQ(fileText("Algebra.problemlist"), test.shown[0] + "\n");
        EXPECT_TRUE(versions.otherVersionsOfItem(url).empty());
        EXPECT_EQ(set->document()->documentState(), unsigned(documents::DocumentStateNormal));
        tapButton(set->homeButton());
    }
}

// Two copies of the game on one set: the other writes it while this one has changes; this one's save
// finds the set changed, keeps its own version, and being the newer it wins.
TEST_F(ProblemList, TwoCopiesWritingOneSet) {
    makeSet(localFolder(), "Algebra.problemlist", "x\ny\n");
    const auto set = openSet("Algebra");
    const std::filesystem::path url = localFolder() / "Algebra.problemlist";
    ASSERT_TRUE(documents::testing::writeInAnotherProcess(url, "theirs\n"));
    std::filesystem::last_write_time(url, std::filesystem::last_write_time(url) - std::chrono::seconds(5));
    tapButton(set->topRightButton());
    core::LogCapture log;
    tapDelete(*cells(*set)[0]);
    wait(documents::Document::kAutosaveDelay);
    wait(1);
    EXPECT_EQ(shownProblems(*set), std::vector<std::string>{"y"});
    EXPECT_EQ(fileText("Algebra.problemlist"), "y\n");
    EXPECT_TRUE(documents::FileVersionStore::shared().otherVersionsOfItem(url).empty());
    EXPECT_FALSE(set->document()->documentState() & documents::DocumentStateInConflict);
    // And the set saves again as usual.
    tapDelete(*cells(*set)[0]);
    tapButton(set->homeButton());
    EXPECT_EQ(fileText("Algebra.problemlist"), "");
}

TEST_F(ProblemList, TheScreensAtPhoneAndTablet) {
    for (const ui::Device& device : {testing::kPhone, testing::kTablet}) {
        const std::string idiom = device.isTablet() ? "tablet" : "phone";
        TearDown();
        SetUp();
        const std::shared_ptr<MasterListViewController> empty = openProblemSets(device);
        testing::expectLegible(*testing::keepScreenshot(*host, "sets-empty-" + idiom),
                               *empty->createProblemSetButton(), device.scale);

        makeSet(localFolder(), "Algebra.problemlist",
                "x + 3 = 5\n2 * (x + 1) + 3 * (x - 1)\n(6 * x) / (4 * y)\nx^2 * x^3\n3+\n");
        makeSet(localFolder(), "Fractions.problemlist", "1/2\n");
        makeSet(localFolder(), "My.Set.problemlist");
        store->loadDocumentURLs();
        wait(1);
        const auto shots = [&](MasterListViewController& screen, const std::string& name) {
            const auto picture = testing::keepScreenshot(*host, name + "-" + idiom);
            for (const auto& cell : cells(screen))
                testing::expectLegible(*picture, *cell->numberLabel(), device.scale);
            return picture;
        };
        const auto withSets = shots(*empty, "sets");
        testing::expectLegible(*withSets, *empty->homeButton(), device.scale);
        tapButton(empty->topRightButton());
        const auto editing = shots(*empty, "sets-editing");
        testing::expectLegible(*editing, *cells(*empty)[0]->deleteButton(), device.scale);
        tapButton(empty->topRightButton());

        // The set under the overlay while it is read, then with its problems and in edit mode.
        std::promise<void> release;
        documents::FileQueue::shared().async([held = release.get_future().share()] { held.wait(); });
        testing::tap(*host, testing::middleInWindow(*cells(*empty)[0]));
        host->advance(1);
        const auto set = current<ProblemListViewController>();
        ASSERT_TRUE(set);
        const auto hud = KHProgressHUD::HUDForView(*set->view());
        ASSERT_TRUE(hud);
        testing::expectLegible(*testing::keepScreenshot(*host, "set-loading-" + idiom), *hud, device.scale);
        release.set_value();
        wait(1);
        const auto problems = shots(*set, "set");
        testing::expectLegible(*problems, *set->textField(), device.scale);
        for (const auto& cell : cells(*set))
            testing::expectLegible(*problems, *cell->viewWithTag(ProblemListViewController::kPlaygroundTag),
                                   device.scale);
        tapButton(set->topRightButton());
        shots(*set, "set-editing");
    }
}

} // namespace
} // namespace zm
