#pragma once

// The game with its problem sets, headless: launched over the test's own data root (with or without a
// cloud folder), "Create Your Own" opened from the home carousel, and helpers to find and tap what the
// problem-set screens show.

#include "platform/ui/Button.h"
#include "platform/ui/CollectionView.h"
#include "problemsets/ProblemSetClasses.h"
#include "problemsets/screens/DeleteableCollectionViewCell.h"
#include "problemsets/screens/MasterListViewController.h"
#include "problemsets/testing/StoreTesting.h"
#include "shell/app/AppDelegate.h"
#include "shell/container/ContainerViewController.h"
#include "shell/controls/FlatPillButton.h"
#include "shell/testing/ScreenTesting.h"
#include "shell/topics/TopicIdentifiers.h"
#include "shell/topics/TopicStatsDataController.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace zm::testing {

class ProblemSetScreenTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        testDefaults().setBool(true, "seenIntro");
        TopicStatsDataController& topics = TopicStatsDataController::sharedInstance();
        for (const Topic& topic : topics.topics())
            topics.setViewedTopic(topic.topicID());
        // Without a cloud unless a test brings one, so that no offer waits for an answer.
        useCloud(false);
    }

    void TearDown() override {
        application.reset();
        StoreTest::TearDown();
    }

    // Launches the game (again, over the same data root) and lets the home carousel settle.
    void launch(const ui::Device& device = kTablet) {
        application.reset();
        store.reset();
        start(device);
        installProblemSets();
        host->loop().setCooperativeOperationQueues(true);
        AppDelegate::Configuration configuration;
        configuration.makeProblemSetStore = [] { return QVDocumentDataController::create(); };
        application = std::make_unique<AppDelegate>(configuration);
        application->application(host->application(), {});
        host->advance(1);
    }

    // Launches the game and opens "Create Your Own" from the home carousel.
    std::shared_ptr<MasterListViewController> openProblemSets(const ui::Device& device = kTablet) {
        launch(device);
        container().goToTopic(Topic(std::string(AlgebraTopicCustom)));
        store = QVDocumentDataController::shared();
        wait(1);
        return current<MasterListViewController>();
    }

    // The list of sets shown now, with what the folder holds now; else the game launched on the
    // tablet with the list opened. Tables go on in one game from case to case.
    std::shared_ptr<MasterListViewController> listOfSets() {
        if (const auto list = application ? current<MasterListViewController>() : nullptr) {
            store->loadDocumentURLs();
            return list;
        }
        return openProblemSets();
    }

    ContainerViewController& container() { return *application->containerVC(); }
    // The screen shown now, when it is a `Screen`.
    template <class Screen> std::shared_ptr<Screen> current() {
        return std::dynamic_pointer_cast<Screen>(container().mainVC());
    }

    // Lets `seconds` of game time pass, with the file work it brings done.
    void wait(double seconds) {
        settle();
        host->advance(seconds);
        settle();
    }
    // Long enough for a transition between screens (half a second) to end.
    static constexpr double kTransitionWait = 0.6;

    // Taps the middle of `view` and lets a transition it starts end.
    void tapOn(const ui::View& view) {
        tap(*host, middleInWindow(view));
        wait(kTransitionWait);
    }
    void tapButton(const std::shared_ptr<ui::Button>& button) {
        ASSERT_TRUE(button);
        tapOn(*button);
    }

    // The cells of a list in sight, by row.
    static std::vector<std::shared_ptr<DeleteableCollectionViewCell>> cells(MasterListViewController& screen) {
        std::vector<std::pair<int, std::shared_ptr<DeleteableCollectionViewCell>>> rows;
        ui::CollectionView& collection = *screen.collectionView();
        collection.layoutIfNeeded();
        for (const ui::IndexPath& path : collection.indexPathsForVisibleItems()) {
            if (auto cell = std::dynamic_pointer_cast<DeleteableCollectionViewCell>(collection.cellForItem(path)))
                rows.emplace_back(path.item, std::move(cell));
        }
        std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::shared_ptr<DeleteableCollectionViewCell>> ordered;
        for (auto& [row, cell] : rows)
            ordered.push_back(std::move(cell));
        return ordered;
    }
    // The names the cells of the list of sets show, by row.
    static std::vector<std::string> shownNames(MasterListViewController& screen) {
        std::vector<std::string> names;
        for (const auto& cell : cells(screen)) {
            const auto* name = dynamic_cast<const ui::Label*>(cell->viewWithTag(MasterListViewController::kNameTag));
            names.push_back(name ? name->text() : "?");
        }
        return names;
    }
    // Taps the delete button of a cell in edit mode.
    void tapDelete(const DeleteableCollectionViewCell& cell) {
        ASSERT_TRUE(cell.deleteButton() && cell.deleteButton()->superview());
        tapOn(*cell.deleteButton());
    }

    std::unique_ptr<AppDelegate> application;
};

} // namespace zm::testing
