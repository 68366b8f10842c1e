#include "model/Expr.h"
#include "platform/ui/DynamicAnimator.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "shell/app/AppDelegate.h"
#include "shell/app/ProblemSetStore.h"
#include "shell/container/BubbleView.h"
#include "shell/controls/FlatPillButton.h"
#include "shell/home/HomeViewController.h"
#include "shell/testing/ContainerTesting.h"
#include "shell/topics/TopicIdentifiers.h"
#include "shell/topics/TopicStatsDataController.h"

#include <cmath>

namespace zm {
namespace {

using testing::kPhone;
using testing::kTablet;
using ScrollPosition = ui::CollectionView::ScrollPosition;

class Home : public testing::ContainerTest {
protected:
    // The container with the bundle's home screen.
    std::shared_ptr<HomeViewController> launchHome(const ui::Device& device = kTablet, unsigned screens = 0) {
        container = launch(device, screens | kBundleHome);
        auto home = std::dynamic_pointer_cast<HomeViewController>(container->mainVC());
        EXPECT_TRUE(home);
        host->advance(0.1);
        return home;
    }

    std::string nameOnCard(HomeViewController& home, int row) {
        const auto cell = home.collectionView()->cellForItem({0, row});
        const auto* label =
            cell ? dynamic_cast<ui::Label*>(cell->viewWithTag(HomeViewController::kNameTag)) : nullptr;
        return label ? label->text() : "<no card>";
    }

    // A tap in window coordinates.
    void tap(core::Point point) {
        host->touchDown(point);
        host->advance(0.05);
        host->touchUp(point);
    }

    void drag(core::Point from, float dx) {
        host->touchDown(from);
        for (int step = 1; step <= 10; ++step) {
            host->advance(0.02);
            host->touchMove({from.x + dx * float(step) / 10, from.y});
        }
        host->touchUp({from.x + dx, from.y});
    }

    std::shared_ptr<ContainerViewController> container;
};

TEST_F(Home, TheStoryboardsMakeACarouselOfTheNineTopicsWithAThinInfoButton) {
    for (const ui::Device& device : {kPhone, kTablet}) {
        const auto home = launchHome(device);
        ASSERT_TRUE(home);
        ASSERT_TRUE(home->collectionView());
        ASSERT_TRUE(home->infoButton());
        EXPECT_TRUE(home->infoButton()->thin());
        EXPECT_EQ(home->topics().size(), 9u);
        EXPECT_EQ(&home->topics(), &TopicStatsDataController::sharedInstance().topics());
        EXPECT_EQ(home->collectionView()->numberOfItems(0), 9);
        EXPECT_EQ(home->preferredStatusBarStyle(), ui::StatusBarStyle::LightContent);
        EXPECT_EQ(nameOnCard(*home, 0), "Simplify");
        EXPECT_EQ(nameOnCard(*home, 1), "Like Terms");
        // Cards that scrolled away come back for other topics, with their names.
        home->collectionView()->scrollToItem({0, 8}, ScrollPosition::CenteredHorizontally, false);
        home->collectionView()->layoutIfNeeded();
        EXPECT_EQ(nameOnCard(*home, 7), "Exponents");
        EXPECT_EQ(nameOnCard(*home, 8), "Create Your Own");
        // Each card plays its topic's label expression, untouchable.
        for (int row : {7, 8}) {
            const Topic& topic = home->topics()[size_t(row)];
            PlaygroundView* playground = home->playgroundViewForTopic(topic);
            ASSERT_TRUE(playground && playground->mainPlayground() &&
                        playground->mainPlayground()->mainExpr());
            EXPECT_EQ(playground->mainPlayground()->mainExpr()->description(),
                      topic.labelExpr()->description());
            EXPECT_FALSE(playground->isUserInteractionEnabled());
        }
        // Laying out the home screen set the bubbles going.
        const BubbleView& bubbles = *container->bubbleView();
        EXPECT_NE(bubbles.animator().velocity(*bubbles.bubbles().front()), core::Point());
    }
}

TEST_F(Home, ComingBackHomeShowsTheCarouselWhereItWasLeft) {
    const auto home = launchHome();
    home->collectionView()->setContentOffset({2560 - 100, 0});
    container->goToTopic(home->topics()[5]);
    host->advance(0.6);
    container->goHome();
    host->advance(0.6);
    const auto back = std::dynamic_pointer_cast<HomeViewController>(container->mainVC());
    ASSERT_TRUE(back);
    ASSERT_NE(back, home);
    EXPECT_FALSE(back->startingTopic());
    ASSERT_TRUE(back->currentTopic());
    EXPECT_EQ(back->currentTopic()->topicID(), home->topics()[5].topicID());
    EXPECT_NEAR(back->collectionView()->contentOffset().x, 2460, 0.01);
}

TEST_F(Home, TheFirstHomeScreenCentresTheLastTopicEntered) {
    const struct {
        const char* stored;
        std::optional<float> offset; // tablet: 512 points a card; nothing when no card is centred
    } cases[] = {
        {nullptr, {}}, {"AlgebraTopicFactorization", 1536}, {"AlgebraTopicCustom", 4096}, {"Nonsense", {}}};
    for (const auto& test : cases) {
        if (test.stored)
            testing::testDefaults().setObject(test.stored, AlgebraTopicState);
        else
            testing::testDefaults().removeObject(AlgebraTopicState);
        const auto home = launchHome();
        const std::string what = test.stored ? test.stored : "nothing";
        EXPECT_FLOAT_EQ(home->collectionView()->contentOffset().x, test.offset.value_or(0)) << what;
        // The card geometry puts the container's starting hue on the centred card.
        EXPECT_NEAR(home->calculatePerc(), container->perc(), 1e-6) << what;
        // Every later layout pass centres it again; without a card to centre the carousel stays.
        home->collectionView()->setContentOffset({700, 0});
        home->view()->setNeedsLayout();
        home->view()->layoutIfNeeded();
        EXPECT_FLOAT_EQ(home->collectionView()->contentOffset().x, test.offset.value_or(700)) << what;
    }
}

TEST_F(Home, ScrollingTurnsTheHueAndSlidesTheBubbles) {
    const auto home = launchHome();
    drag({700, 400}, -300);
    host->advance(2);
    const float perc = home->calculatePerc();
    EXPECT_GT(perc, 0.02f);
    EXPECT_FLOAT_EQ(perc, home->collectionView()->contentOffset().x / 5120);
    EXPECT_NEAR(container->perc(), perc, 0.01);
    EXPECT_NEAR(container->bubbleView()->frame().minX(), -1024 * 0.6 * perc, 0.01);

    // Pulled past the left end, the hue turns back past zero.
    home->collectionView()->setContentOffset({-51.2f, 0});
    EXPECT_NEAR(container->perc(), -0.01, 1e-6);

    // A carousel that fits on screen leaves the hue alone.
    container->setPerc(0.25);
    home->collectionView()->setFrame({0, 0, 6000, 768});
    home->collectionView()->layoutIfNeeded();
    home->collectionView()->setContentOffset({100, 0});
    EXPECT_DOUBLE_EQ(container->perc(), 0.25);
}

TEST_F(Home, TappingTheMiddleCardOpensItsTopic) {
    const auto home = launchHome();
    drag({700, 400}, -512);
    host->advance(2);
    // Wherever the carousel came to rest, a tap on the card nearest the middle opens its topic.
    const std::shared_ptr<ui::CollectionView> carousel = home->collectionView();
    std::optional<ui::IndexPath> nearest;
    core::Point centre;
    for (const ui::IndexPath& path : carousel->indexPathsForVisibleItems()) {
        const core::Rect card = carousel->convertRectToView(*carousel->frameForItem(path), nullptr);
        if (!nearest || std::abs(card.midX() - 512) < std::abs(centre.x - 512)) {
            nearest = path;
            centre = {card.midX(), card.midY()};
        }
    }
    ASSERT_TRUE(nearest);
    EXPECT_GT(nearest->item, 0);
    const std::string expected = home->topics()[size_t(nearest->item)].topicID();
    tap(centre);
    host->advance(0.6);
    ASSERT_NE(container->mainVC(), home);
    ASSERT_TRUE(container->mainVC()->topic());
    EXPECT_EQ(container->mainVC()->topic()->topicID(), expected);
    EXPECT_EQ(testing::testDefaults().stringForKey(AlgebraTopicState), expected);
}

TEST_F(Home, APressedCardGrowsAndShrinksBack) {
    const auto home = launchHome();
    const auto card = home->collectionView()->cellForItem({0, 0});
    host->touchDown({512, 384});
    host->advance(0.2 + 0.1);
    EXPECT_FLOAT_EQ(card->transform().a, 1.05f);
    EXPECT_FLOAT_EQ(card->presentation().transform.a, 1.05f);
    host->touchMove({512, 600});
    host->touchMove({512, 760});
    host->advance(0.15);
    EXPECT_TRUE(card->presentation().transform.isIdentity());
    host->touchUp({512, 760});
    host->advance(0.6);
    EXPECT_EQ(container->mainVC(), home);
}

TEST_F(Home, TheZoomIntoATopicStartsFromItsCardsPlayground) {
    const auto home = launchHome();
    // The first card at the left end: 512 x 420 at (256, 174); its playground (0, 110, 512, 290) in it.
    const Topic first = home->topics()[0];
    EXPECT_EQ(home->playgroundRectForTopic(first), core::Rect(256, 284, 512, 290));
    EXPECT_TRUE(home->playgroundRectForTopic(Topic("Nonsense")).isNull());
    container->goToTopic(first);
    EXPECT_EQ(container->oppositeCenter(), core::Point(512 - 10 * (512 - 512), 384));
}

TEST_F(Home, AfterMasteryTheHomeScreenMovesOnToTheNextTopic) {
    const auto home = launchHome();
    home->setCurrentTopic(Topic(std::string(AlgebraTopicExponents)));
    home->animateToNextTopic();
    host->advance(0.45);
    EXPECT_EQ(container->mainVC(), home);
    host->advance(0.1);
    ASSERT_TRUE(container->isTransitioning());
    host->advance(0.6);
    // The next topic after exponents is the user's own problem sets.
    EXPECT_EQ(testing::testDefaults().stringForKey(AlgebraTopicState), std::string(AlgebraTopicCustom));
    EXPECT_NE(container->mainVC(), home);
}

TEST_F(Home, MovingOnDoesNothingFromTheLastTopicOrWithoutOne) {
    for (const std::optional<Topic>& current :
         {std::optional<Topic>(Topic(std::string(AlgebraTopicCustom))), std::optional<Topic>()}) {
        const auto home = launchHome();
        home->setCurrentTopic(current);
        home->animateToNextTopic();
        host->advance(1.2);
        EXPECT_EQ(container->mainVC(), home);
        EXPECT_FLOAT_EQ(home->collectionView()->contentOffset().x, 0);
    }
}

TEST_F(Home, MovingOnIsDroppedWhenThePlayerLeavesHomeMeanwhile) {
    const auto home = launchHome();
    home->setCurrentTopic(Topic(std::string(AlgebraTopicCommutation)));
    home->animateToNextTopic();
    const auto elsewhere = testing::TestScreen::make();
    container->pushTopicVC(elsewhere);
    host->advance(1.2);
    EXPECT_EQ(container->mainVC(), elsewhere);
    EXPECT_FALSE(testing::testDefaults().contains(AlgebraTopicState));
}

TEST_F(Home, TheInfoButtonLoadsTheProblemSetsAndZoomsTheInfoScreenIn) {
    struct Store : ProblemSetStore {
        void setListener(const std::shared_ptr<TopicViewController>&) override {}
    };
    int stores = 0;
    AppDelegate::Configuration configuration;
    configuration.makeProblemSetStore = [&] {
        ++stores;
        return std::make_shared<Store>();
    };
    AppDelegate application(configuration);
    const auto home = launchHome(kTablet, kInfo);
    tap({954, 726});
    EXPECT_EQ(stores, 1);
    ASSERT_TRUE(container->isTransitioning());
    host->advance(0.6);
    EXPECT_TRUE(std::dynamic_pointer_cast<testing::TestScreen>(container->mainVC()));
}

TEST_F(Home, TheMiddleCardIsTheCentreOfThreeOrTheEndOfTwo) {
    const auto home = launchHome();
    const struct {
        int centred;
        int middle;
    } cases[] = {{0, 0}, {4, 4}, {8, 8}};
    for (const auto& test : cases) {
        home->collectionView()->scrollToItem({0, test.centred}, ScrollPosition::CenteredHorizontally, false);
        home->collectionView()->layoutIfNeeded();
        const std::optional<ui::IndexPath> middle = home->middleIndexPath();
        ASSERT_TRUE(middle) << test.centred;
        EXPECT_EQ(middle->item, test.middle);
        EXPECT_EQ(home->middlePlaygroundView(),
                  home->playgroundViewForTopic(home->topics()[size_t(test.middle)]));
        EXPECT_TRUE(home->middlePlaygroundView());
    }
    home->collectionView()->setContentOffset({1536 + 256, 0});
    home->collectionView()->layoutIfNeeded();
    home->scrollToMiddleTopic();
    host->advance(1);
    EXPECT_EQ(home->middleIndexPath()->item, 4);

    home->hideUI();
    EXPECT_EQ(home->bottomRightView()->transform(), core::AffineTransform::makeTranslation(0, 50));
}

} // namespace
} // namespace zm
