#include "problemsets/store/QVDocumentDataController.h"

#include "platform/core/ApplicationEvents.h"
#include "platform/core/Log.h"
#include "platform/documents/FileQueue.h"
#include "platform/documents/FileVersionStore.h"
#include "problemsets/documents/ProblemListDocument.h"
#include "problemsets/testing/StoreTesting.h"
#include "shell/app/AppDelegate.h"
#include "shell/container/ContainerViewController.h"
#include "shell/home/HomeViewController.h"
#include "shell/testing/ScreenTesting.h"

#include <future>
#include <optional>

#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::CloudChoice;

class Store : public testing::StoreTest {
protected:
    // The panel of an offer in the middle of the window, over the dimmed screen: its texts stand out
    // against it.
    static void expectOfferDrawn(const std::shared_ptr<const gfx::Image>& shot, const ui::Device& device) {
        EXPECT_FALSE(offer().empty());
        const core::Size screen = device.screenSize();
        auto middle = ui::View::create({0, 0, screen.width, screen.height});
        middle->addSubview(ui::View::create({screen.width / 2 - 100, screen.height / 2 - 40, 200, 80}));
        testing::expectLegible(*shot, *middle->subviews().front(), device.scale);
    }
};

// A refresh with the device's set a and the cloud's set b: what it offers, what the choice becomes,
// what is listed and where the sets are.
TEST_F(Store, TheRulesOfARefresh) {
    struct Case {
        const char* name;
        bool cloud;
        CloudChoice before;
        std::string offer, message;
        CloudChoice after;
        std::vector<std::string> listed, device, inCloud;
    };
    const Case cases[] = {
        {"chosen just now: the device's sets move", true, {true, false, false}, "", "", {true, true, false},
         {"a.problemlist", "b.problemlist"}, {}, {"a.problemlist", "b.problemlist"}},
        {"in use", true, {true, true, true}, "", "", {true, true, true},
         {"a.problemlist", "b.problemlist"}, {}, {"a.problemlist", "b.problemlist"}},
        {"turned off elsewhere: the offer to keep a copy", true, {false, true, true}, "You're Not Using iCloud",
         "What would you like to do with the documents currently on this device?", {false, false, true},
         {"a.problemlist"}, {"a.problemlist"}, {"b.problemlist"}},
        {"declined before", true, {false, false, true}, "", "", {false, false, true}, {"a.problemlist"},
         {"a.problemlist"}, {"b.problemlist"}},
        {"never offered: nothing listed until the answer", true, {false, true, false}, "iCloud is Available",
         "Automatically store your documents in the cloud to keep them up-to-date across all your devices and "
         "the web.",
         {false, true, true}, {}, {"a.problemlist"}, {"b.problemlist"}},
        {"lost while in use: the notice", false, {true, true, true}, "You're Not Using iCloud",
         "Your documents were removed from this device but remain stored in iCloud.", {false, false, false},
         {"a.problemlist"}, {"a.problemlist"}, {"b.problemlist"}},
        {"not there", false, {false, false, true}, "", "", {false, false, false}, {"a.problemlist"},
         {"a.problemlist"}, {"b.problemlist"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TearDown();
        SetUp();
        useCloud(test.cloud);
        makeSet(localFolder(), "a.problemlist", "x\n");
        makeSet(cloudFolder(), "b.problemlist", "y\n");
        setChoice(test.before);
        makeStore();
        EXPECT_EQ(offer(), test.offer);
        EXPECT_EQ(offerMessage(), test.message);
        EXPECT_EQ(choice(), test.after);
        EXPECT_EQ(listed(), test.listed);
        EXPECT_EQ(filesIn(localFolder()), test.device);
        EXPECT_EQ(filesIn(cloudFolder()), test.inCloud);
        EXPECT_EQ(store->isCloudAvailable(), test.cloud);
    }
}

// Each answer to the two offers, with the device's set a and the cloud's set b.
TEST_F(Store, TheAnswersToTheOffers) {
    struct Case {
        CloudChoice before;
        std::string button;
        bool on;
        std::vector<std::string> listed, device, inCloud;
    };
    const Case cases[] = {
        {{false, false, false}, "Use iCloud", true, {"a.problemlist", "b.problemlist"}, {},
         {"a.problemlist", "b.problemlist"}},
        {{false, false, false}, "Later", false, {"a.problemlist"}, {"a.problemlist"}, {"b.problemlist"}},
        {{false, true, true}, "Continue Using iCloud", true, {"a.problemlist", "b.problemlist"}, {},
         {"a.problemlist", "b.problemlist"}},
        {{false, true, true}, "Keep a Local Copy", false, {"a.problemlist", "b.problemlist"},
         {"a.problemlist", "b.problemlist"}, {"b.problemlist"}},
        {{false, true, true}, "Keep on iCloud Only", false, {"a.problemlist"}, {"a.problemlist"}, {"b.problemlist"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.button);
        TearDown();
        SetUp();
        makeSet(localFolder(), "a.problemlist", "x\n");
        makeSet(cloudFolder(), "b.problemlist", "y\n");
        setChoice(test.before);
        makeStore();
        answer(test.button);
        EXPECT_EQ(offer(), "");
        EXPECT_EQ(QVDocumentDataController::iCloudOn(), test.on);
        EXPECT_EQ(listed(), test.listed);
        EXPECT_EQ(filesIn(localFolder()), test.device);
        EXPECT_EQ(filesIn(cloudFolder()), test.inCloud);
    }
}

TEST_F(Store, TheOfferComesOnceUntilTheCloudWasFoundMissing) {
    makeStore();
    EXPECT_EQ(offer(), "iCloud is Available");
    answer("Later");
    store->refreshDocuments();
    settle();
    EXPECT_EQ(offer(), "");
    useCloud(false);
    store->refreshDocuments();
    settle();
    EXPECT_EQ(offer(), "");
    EXPECT_FALSE(QVDocumentDataController::iCloudPrompted());
    useCloud(true);
    // The application becoming active refreshes.
    core::NotificationCenter::defaultCenter().post(std::string(core::kApplicationDidBecomeActiveNotification));
    settle();
    EXPECT_EQ(offer(), "iCloud is Available");
}

TEST_F(Store, MovesAndCopiesGiveClashingNamesTheNextNumber) {
    makeSet(localFolder(), "Algebra.problemlist", "device\n");
    makeSet(cloudFolder(), "Algebra.problemlist", "cloud\n");
    setChoice({false, false, false});
    makeStore();
    answer("Use iCloud");
    EXPECT_EQ(listed(), (std::vector<std::string>{"Algebra(2).problemlist", "Algebra.problemlist"}));
    EXPECT_EQ(core::readFile(cloudFolder() / "Algebra(2).problemlist").value(), "device\n");

    // Back on the device, keeping a copy: both come back beside a set made there meanwhile.
    makeSet(localFolder(), "Algebra.problemlist", "new on the device\n");
    QVDocumentDataController::setiCloudOn(false);
    store->refreshDocuments();
    settle();
    answer("Keep a Local Copy");
    EXPECT_EQ(filesIn(localFolder()),
              (std::vector<std::string>{"Algebra(2).problemlist", "Algebra(3).problemlist", "Algebra.problemlist"}));
    EXPECT_EQ(core::readFile(localFolder() / "Algebra.problemlist").value(), "new on the device\n");
    EXPECT_EQ(filesIn(cloudFolder()), (std::vector<std::string>{"Algebra(2).problemlist", "Algebra.problemlist"}));
}

TEST_F(Store, NewSetsRenamesAndDeletes) {
    setChoice({false, false, true});
    makeSet(localFolder(), "ProblemSet.problemlist");
    makeSet(localFolder(), "ProblemSet(3).problemlist");
    makeSet(localFolder(), "b.problemlist");
    makeSet(localFolder(), "C.problemlist");
    makeSet(localFolder(), "D.PROBLEMLIST");
    makeStore();
    EXPECT_EQ(listed(), (std::vector<std::string>{"b.problemlist", "C.problemlist", "ProblemSet(3).problemlist",
                                                  "ProblemSet.problemlist"}));
    const int heard = listener->updates;

    // A new set is named, put at the end and announced; no file is written yet.
    const std::optional<std::filesystem::path> made = store->createNewDocument();
    ASSERT_TRUE(made);
    EXPECT_EQ(made->filename(), "ProblemSet(2).problemlist");
    EXPECT_EQ(listed().back(), "ProblemSet(2).problemlist");
    EXPECT_EQ(listener->updates, heard + 1);
    EXPECT_FALSE(std::filesystem::exists(*made));

    // Renamed to its own name, a set takes the next number, and the list is sorted again; the versions
    // kept of it follow it.
    documents::FileVersionStore& versions = documents::FileVersionStore::shared();
    ASSERT_TRUE(versions.addConflictVersionOfItem(localFolder() / "b.problemlist", "x\n").ok());
    std::optional<std::filesystem::path> renamed;
    store->renameDocument(ProblemListDocument::create(localFolder() / "b.problemlist"), "b",
                          [&](std::optional<std::filesystem::path> url) { renamed = url; });
    settle();
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->filename(), "b(2).problemlist");
    EXPECT_EQ(listed(), (std::vector<std::string>{"b(2).problemlist", "C.problemlist", "ProblemSet(2).problemlist",
                                                  "ProblemSet(3).problemlist", "ProblemSet.problemlist"}));
    EXPECT_EQ(versions.otherVersionsOfItem(*renamed).size(), 1u);
    ASSERT_TRUE(versions.addConflictVersionOfItem(localFolder() / "C.problemlist", "y\n").ok());

    // A location not in the list deletes nothing; a listed one goes at once, its file after.
    store->deleteDocumentAtURL(localFolder() / "D.PROBLEMLIST");
    store->deleteDocumentAtURL(localFolder() / "C.problemlist");
    settle();
    EXPECT_TRUE(std::filesystem::exists(localFolder() / "D.PROBLEMLIST"));
    EXPECT_FALSE(std::filesystem::exists(localFolder() / "C.problemlist"));
    EXPECT_TRUE(versions.otherVersionsOfItem(localFolder() / "C.problemlist").empty());
    EXPECT_EQ(listed().size(), 4u);
}

// Mend: a typed name was taken as a path.
TEST_F(Store, ARenameStaysInTheFolderAndInSight) {
    setChoice({false, false, true});
    makeSet(localFolder(), "Set.problemlist", "x\n");
    makeStore();
    const struct {
        const char* typed;
        const char* file;
    } cases[] = {{"../../Escaped", "-..-Escaped.problemlist"}, {"a/b", "a-b.problemlist"},
                 {"..", "ProblemSet.problemlist"}, {"", "ProblemSet(2).problemlist"},
                 {".Hidden", "Hidden.problemlist"}};
    std::filesystem::path current = localFolder() / "Set.problemlist";
    for (const auto& test : cases) {
        SCOPED_TRACE(test.typed);
        std::optional<std::filesystem::path> renamed;
        store->renameDocument(ProblemListDocument::create(current), test.typed,
                              [&](std::optional<std::filesystem::path> url) { renamed = url; });
        settle();
        ASSERT_TRUE(renamed);
        EXPECT_EQ(*renamed, localFolder() / test.file);
        EXPECT_EQ(core::readFile(*renamed).value(), "x\n");
        current = *renamed;
    }
    EXPECT_EQ(filesIn(localFolder()), std::vector<std::string>{"Hidden.problemlist"});
    EXPECT_EQ(listed(), std::vector<std::string>{"Hidden.problemlist"});
}

// Mend: the cloud's query ran on with the device's folder in use and replaced its list.
TEST_F(Store, TheCloudsResultsCountOnlyWhileTheCloudIsInUse) {
    makeSet(localFolder(), "device.problemlist");
    setChoice({true, true, true});
    makeStore();
    EXPECT_EQ(listed(), std::vector<std::string>{"device.problemlist"});
    const std::shared_ptr<documents::MetadataQuery> first = store->query();
    ASSERT_TRUE(first);
    store->refreshDocuments();
    settle();
    // A new query stops the old one.
    EXPECT_FALSE(first->isStarted());
    ASSERT_TRUE(store->query());

    // Turned off outside the store, keeping the sets in the cloud: the device's folder is listed, and
    // stays listed when the cloud changes.
    QVDocumentDataController::setiCloudOn(false);
    store->refreshDocuments();
    settle();
    answer("Keep on iCloud Only");
    EXPECT_EQ(listed(), std::vector<std::string>{});
    makeSet(cloudFolder(), "cloud.problemlist");
    settle();
    EXPECT_EQ(listed(), std::vector<std::string>{});
    EXPECT_FALSE(store->query());
    // New sets go to the device's folder, which the list shows.
    EXPECT_EQ(store->createNewDocument()->parent_path(), localFolder());
}

// Mends: a set whose move into the cloud failed was never listed again, and a move replaced a file
// of the same name.
TEST_F(Store, ASetThatCouldNotMoveMovesAtTheNextRefreshAndReplacesNothing) {
    makeSet(localFolder(), "Algebra.problemlist", "mine\n");
    setChoice({false, false, true});
    makeStore();
    setChoice({true, true, true});

    // The file queue is held while the cloud's (empty) results come and the move is planned; meanwhile
    // another copy makes a set of the same name in the cloud.
    std::promise<void> release;
    documents::FileQueue::shared().async([held = release.get_future().share()] { held.wait(); });
    store->localToiCloud();
    store->processFiles({});
    std::filesystem::create_directories(cloudFolder());
    ASSERT_TRUE(documents::testing::writeAsAnotherProgram(cloudFolder() / "Algebra.problemlist", "theirs\n"));
    core::LogCapture log;
    release.set_value();
    settle();
    EXPECT_EQ(core::readFile(cloudFolder() / "Algebra.problemlist").value(), "theirs\n");
    EXPECT_EQ(filesIn(localFolder()), std::vector<std::string>{"Algebra.problemlist"});
    EXPECT_EQ(listed(), std::vector<std::string>{"Algebra.problemlist"});

    store->refreshDocuments();
    settle();
    EXPECT_EQ(filesIn(localFolder()), std::vector<std::string>{});
    EXPECT_EQ(listed(), (std::vector<std::string>{"Algebra(2).problemlist", "Algebra.problemlist"}));
    EXPECT_EQ(core::readFile(cloudFolder() / "Algebra(2).problemlist").value(), "mine\n");
    EXPECT_TRUE(log.contains("Failed to move " + (localFolder() / "Algebra.problemlist").string() + " to " +
                             (cloudFolder() / "Algebra.problemlist").string() + ": cannot move " +
                             (localFolder() / "Algebra.problemlist").string() + " to " +
                             (cloudFolder() / "Algebra.problemlist").string() + ": it exists already"));
}

TEST_F(Store, ASetMadeByAnotherCopyJoinsTheList) {
    setChoice({true, true, true});
    makeStore();
    EXPECT_EQ(listed(), std::vector<std::string>{});
    const int heard = listener->updates;
    // The other copy saves a new set (another data root, the same cloud folder).
    ASSERT_TRUE(documents::testing::writeInAnotherProcess(cloudFolder() / "Theirs.problemlist", "x\n"));
    host->advance(documents::MetadataQuery::kPollInterval);
    settle();
    EXPECT_EQ(listed(), std::vector<std::string>{"Theirs.problemlist"});
    EXPECT_GT(listener->updates, heard);
    // Files of its own that the other copy hides are not sets.
    ASSERT_TRUE(documents::testing::writeInAnotherProcess(cloudFolder() / ".draft.problemlist", "x\n"));
    host->advance(documents::MetadataQuery::kPollInterval);
    settle();
    EXPECT_EQ(listed(), std::vector<std::string>{"Theirs.problemlist"});
    // Nor is a file whose flag could not be read (it went away while it was looked at).
    store->processFiles({{cloudFolder() / "a.problemlist", false},
                         {cloudFolder() / "b.problemlist", true},
                         {cloudFolder() / "c.problemlist", std::nullopt}});
    EXPECT_EQ(listed(), std::vector<std::string>{"a.problemlist"});
}

// Mend: results that started a migration were announced only by what the migration brought, so with
// nothing to bring the list stayed as it was.
TEST_F(Store, AMigrationWithNothingToBringStillShowsTheList) {
    makeSet(cloudFolder(), "b.problemlist", "y\n");
    setChoice({false, false, false});
    makeStore();
    const int heard = listener->updates;
    answer("Use iCloud");
    EXPECT_EQ(listed(), std::vector<std::string>{"b.problemlist"});
    EXPECT_GT(listener->updates, heard);
}

TEST_F(Store, TheInformationScreenBringsTheCloudOffer) {
    testing::testDefaults().setBool(true, "seenIntro");
    start(testing::kTablet);
    AppDelegate::Configuration configuration;
    configuration.makeProblemSetStore = [] { return QVDocumentDataController::create(); };
    AppDelegate application(configuration);
    application.application(host->application(), {});
    host->advance(1);
    auto home = std::dynamic_pointer_cast<HomeViewController>(application.containerVC()->mainVC());
    ASSERT_TRUE(home);
    EXPECT_FALSE(application.dataController());
    home->hitInfo();
    store = QVDocumentDataController::shared();
    ASSERT_TRUE(store);
    settle();
    EXPECT_EQ(offer(), "iCloud is Available");
    store.reset();
}

TEST_F(Store, TheOffersOnPhoneAndTablet) {
    for (const ui::Device& device : {testing::kPhone, testing::kTablet}) {
        const std::string idiom = device.isTablet() ? "tablet" : "phone";
        TearDown();
        SetUp();
        start(device);
        makeSet(cloudFolder(), "b.problemlist");
        makeStore();
        host->advance(1);
        expectOfferDrawn(testing::keepScreenshot(*host, "cloud-offer-" + idiom), device);
        answer("Use iCloud");
        QVDocumentDataController::setiCloudOn(false);
        store->refreshDocuments();
        settle();
        host->advance(1);
        expectOfferDrawn(testing::keepScreenshot(*host, "not-using-cloud-offer-" + idiom), device);
        answer("Continue Using iCloud");
        useCloud(false);
        store->refreshDocuments();
        settle();
        host->advance(1);
        EXPECT_EQ(offerMessage(), "Your documents were removed from this device but remain stored in iCloud.");
        expectOfferDrawn(testing::keepScreenshot(*host, "cloud-removed-notice-" + idiom), device);
    }
}

} // namespace
} // namespace zm
