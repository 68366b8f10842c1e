#include "platform/gfx/Image.h"
#include "platform/ui/Snapshot.h"
#include "shell/app/AppDelegate.h"
#include "shell/app/ProblemSetStore.h"
#include "shell/container/ContainerViewController.h"
#include "shell/testing/ContainerTesting.h"
#include "shell/topics/TopicIdentifiers.h"

#include <functional>
#include <utility>

namespace zm {
namespace {

using testing::TestHomeScreen;
using testing::TestScreen;

// How a view looks: its alpha, its transform and its centre.
struct Look {
    float alpha;
    core::AffineTransform transform;
    core::Point center;
};

void expectLook(const ui::LayerState& state, const Look& look, const std::string& what) {
    EXPECT_NEAR(state.opacity, look.alpha, 1e-4) << what;
    const core::AffineTransform& t = state.transform;
    const core::AffineTransform& e = look.transform;
    for (auto [actual, expected] :
         {std::pair{t.a, e.a}, {t.b, e.b}, {t.c, e.c}, {t.d, e.d}, {t.tx, e.tx}, {t.ty, e.ty}})
        EXPECT_NEAR(actual, expected, 1e-3) << what;
    EXPECT_NEAR(state.position.x, look.center.x, 1e-3) << what;
    EXPECT_NEAR(state.position.y, look.center.y, 1e-3) << what;
}

core::AffineTransform scale(float factor) {
    return core::AffineTransform::makeScale(factor, factor);
}

core::AffineTransform shift(float x) {
    return core::AffineTransform::makeTranslation(x, 0);
}

std::shared_ptr<TestScreen> screen(float alpha = 1, bool fromCorner = false) {
    auto made = TestScreen::make();
    made->view()->setAlpha(alpha);
    made->fromCorner = fromCorner;
    return made;
}

class ContainerNavigation : public testing::ContainerTest {
protected:
    // The view that stands in for the outgoing screen.
    static std::shared_ptr<ui::View> snapshotIn(ContainerViewController& container) {
        for (const std::shared_ptr<ui::View>& view : container.view()->subviews()) {
            if (std::dynamic_pointer_cast<ui::SnapshotView>(view))
                return view;
        }
        return nullptr;
    }
};

TEST_F(ContainerNavigation, EveryTransitionMovesTheNewScreenInAndTheOldOneOut) {
    const core::Point middle{512, 384};
    const Topic factors{std::string(AlgebraTopicFactorization)};
    const struct {
        const char* name;
        std::function<void(ContainerViewController&)> request;
        double duration;
        Look start, end, snapshotEnd;
    } cases[] = {
        {"goToTopic",
         [&](ContainerViewController& c) { c.goToTopic(factors); },
         0.5,
         // The card's playground (600, 300, 100, 80) has its middle at (650, 340).
         {0, scale(0.1f), {650, 340}},
         {1, {}, middle},
         {0, scale(10), {-868, 384}}},
        {"zoomIntoTopicVC",
         [](ContainerViewController& c) { c.zoomIntoTopicVC(screen()); },
         0.5,
         {0, scale(0.1f), middle},
         {1, {}, middle},
         {0, scale(10), middle}},
        {"zoomIntoTopicVC from the corner",
         [](ContainerViewController& c) { c.zoomIntoTopicVC(screen(1, true)); },
         0.5,
         {0, scale(0.1f), {1004, 748}},
         {1, {}, middle},
         {0, scale(10), {-4408, -3256}}},
        {"zoomOutToTopicVC",
         [](ContainerViewController& c) { c.zoomOutToTopicVC(screen()); },
         0.5,
         {0, scale(10), middle},
         {1, {}, middle},
         {0, scale(0.1f), middle}},
        {"pushTopicVC",
         [](ContainerViewController& c) { c.pushTopicVC(screen(0.5f)); },
         0.5,
         {0.5f, {}, {1536, 384}},
         {0.5f, {}, middle},
         {0, {}, {-512, 384}}},
        {"popToTopicVC",
         [](ContainerViewController& c) { c.popToTopicVC(screen(0.5f)); },
         0.5,
         {0.5f, {}, {-512, 384}},
         {0.5f, {}, middle},
         {0, {}, {1536, 384}}},
        {"goHome",
         [](ContainerViewController& c) { c.goHome(); },
         0.5,
         {0, scale(10), middle},
         {1, {}, middle},
         {0, scale(0.1f), middle}},
        {"fadeToHome",
         [](ContainerViewController& c) { c.fadeToHome(); },
         0.75,
         {0, shift(1024), middle},
         {1, {}, middle},
         {0, shift(-1024), middle}},
    };
    for (const auto& test : cases) {
        const auto container = launch();
        const std::shared_ptr<TopicViewController> outgoing = container->mainVC();
        test.request(*container);
        ASSERT_EQ(container->childViewControllers().size(), 2u) << test.name;
        const std::shared_ptr<ui::ViewController> incoming = container->childViewControllers().back();
        std::shared_ptr<ui::View> snapshot = snapshotIn(*container);
        ASSERT_TRUE(snapshot) << test.name;
        ASSERT_TRUE(snapshot->layer().contents()) << test.name;
        const std::weak_ptr<const gfx::Image> picture = snapshot->layer().contents();
        EXPECT_EQ(outgoing->view()->alpha(), 0) << test.name;
        // The new screen is on top of the snapshot.
        EXPECT_EQ(container->view()->subviews().back(), incoming->view()) << test.name;
        expectLook(incoming->view()->presentation(), test.start, std::string(test.name) + " starts");
        expectLook(incoming->view()->layer().model(), test.end, std::string(test.name) + " ends");
        expectLook(snapshot->layer().model(), test.snapshotEnd, std::string(test.name) + " snapshot");
        const std::weak_ptr<ui::View> snapshotView = std::exchange(snapshot, nullptr);

        host->advance(test.duration - 0.03);
        EXPECT_EQ(container->mainVC(), outgoing) << test.name;
        EXPECT_TRUE(container->isTransitioning()) << test.name;
        host->advance(0.06);
        EXPECT_EQ(container->mainVC(), incoming) << test.name;
        EXPECT_FALSE(container->isTransitioning()) << test.name;
        EXPECT_EQ(container->childViewControllers().size(), 1u) << test.name;
        EXPECT_EQ(outgoing->parentViewController(), nullptr) << test.name;
        EXPECT_EQ(outgoing->view()->superview(), nullptr) << test.name;
        // The outgoing screen's picture, a screen's worth of pixels, is let go with the snapshot.
        EXPECT_TRUE(snapshotView.expired()) << test.name;
        EXPECT_TRUE(picture.expired()) << test.name;
        EXPECT_EQ(container->mainVC()->containerVC(), container) << test.name;
        EXPECT_FLOAT_EQ(incoming->view()->alpha(), test.end.alpha) << test.name;
    }
}

TEST_F(ContainerNavigation, AZoomIntoAScreenLetsGoOfTheOldOnesPictureAsItGrowsPastTheEdges) {
    auto pixelsOf = [](const ui::View& snapshot) {
        const std::shared_ptr<const gfx::Image>& picture = snapshot.layer().contents();
        return picture ? picture->pixelWidth() * picture->pixelHeight() : 0;
    };
    const struct {
        const char* name;
        std::function<void(ContainerViewController&)> request;
        bool shrinks;
    } cases[] = {
        {"zoomIntoTopicVC", [](ContainerViewController& c) { c.zoomIntoTopicVC(screen()); }, true},
        {"from the corner", [](ContainerViewController& c) { c.zoomIntoTopicVC(screen(1, true)); }, true},
        {"goHome", [](ContainerViewController& c) { c.goHome(); }, false},
        {"pushTopicVC", [](ContainerViewController& c) { c.pushTopicVC(screen()); }, false},
    };
    for (const auto& test : cases) {
        const auto container = launch();
        test.request(*container);
        const std::shared_ptr<ui::View> snapshot = snapshotIn(*container);
        ASSERT_TRUE(snapshot) << test.name;
        const int whole = pixelsOf(*snapshot);
        host->advance(0.3);
        if (test.shrinks) {
            EXPECT_GT(pixelsOf(*snapshot), 0) << test.name;
            EXPECT_LT(pixelsOf(*snapshot), whole / 4) << test.name;
        } else {
            EXPECT_EQ(pixelsOf(*snapshot), whole) << test.name;
        }
        host->advance(0.3);
        EXPECT_FALSE(container->isTransitioning()) << test.name;
    }
}

TEST_F(ContainerNavigation, AHomeScreenComesBackWhereTheZoomSentTheOldOneAndMovesOn) {
    const auto container = launch();
    container->goToTopic(Topic(std::string(AlgebraTopicFactorization)));
    host->advance(0.6);
    EXPECT_DOUBLE_EQ(container->perc(), 0.4f);
    const std::shared_ptr<TopicViewController> topicScreen = container->mainVC();
    ASSERT_TRUE(topicScreen->topic());
    EXPECT_EQ(topicScreen->topic()->topicID(), AlgebraTopicFactorization);

    container->goHomeAndScrollToNext(true);
    const auto home = std::dynamic_pointer_cast<TestHomeScreen>(container->childViewControllers().back());
    ASSERT_TRUE(home);
    ASSERT_TRUE(home->currentTopic);
    EXPECT_EQ(home->currentTopic->topicID(), AlgebraTopicFactorization);
    EXPECT_FALSE(home->startingTopic);
    // A point q of the view goes to 10 q + o, o being where the zoom sent the old home screen.
    expectLook(home->view()->presentation(), {0, {10, 0, 0, 10, -868, 384}, {512, 384}}, "home starts");
    expectLook(snapshotIn(*container)->layer().model(), {0, {0.1f, 0, 0, 0.1f, 86.8f, -38.4f}, {512, 384}},
               "snapshot ends");
    host->advance(0.49);
    EXPECT_EQ(home->movedOn, 0);
    host->advance(0.02);
    EXPECT_EQ(home->movedOn, 1);
    EXPECT_TRUE(home->movedOnAsCurrentScreen);
    EXPECT_EQ(home->childrenWhenMovedOn, 1u);

    container->goHome();
    host->advance(0.6);
    EXPECT_EQ(std::dynamic_pointer_cast<TestHomeScreen>(container->mainVC())->movedOn, 0);
}

TEST_F(ContainerNavigation, RequestsWhileATransitionRunsAreIgnored) {
    const auto container = launch();
    const auto first = screen();
    container->pushTopicVC(first);
    container->pushTopicVC(screen());
    container->fadeToHome();
    container->goToTopic(Topic(std::string(AlgebraTopicEquations)));
    EXPECT_EQ(container->childViewControllers().size(), 2u);
    EXPECT_FALSE(testing::testDefaults().contains(AlgebraTopicState));
    host->advance(0.6);
    EXPECT_EQ(container->mainVC(), first);
    EXPECT_EQ(container->childViewControllers().size(), 1u);
    EXPECT_EQ(container->view()->subviews().size(), 3u);
}

TEST_F(ContainerNavigation, OnlyTheHomeScreenOpensATopic) {
    const auto container = launch();
    const auto other = screen();
    container->pushTopicVC(other);
    host->advance(0.6);
    container->goToTopic(Topic(std::string(AlgebraTopicEquations)));
    EXPECT_FALSE(container->isTransitioning());
    EXPECT_EQ(container->mainVC(), other);
    EXPECT_FALSE(testing::testDefaults().contains(AlgebraTopicState));
}

TEST_F(ContainerNavigation, OpeningATopicStoresItFirstAndOpensTheProblemSetsThroughTheStore) {
    struct CountingStore : ProblemSetStore {
        void setListener(const std::shared_ptr<TopicViewController>& screen) override { listener = screen; }
        std::weak_ptr<TopicViewController> listener;
    };
    int made = 0;
    std::shared_ptr<CountingStore> store;
    AppDelegate::Configuration configuration;
    configuration.makeProblemSetStore = [&] {
        ++made;
        store = std::make_shared<CountingStore>();
        return store;
    };
    AppDelegate application(configuration);

    auto container = launch();
    container->goToTopic(Topic(std::string(AlgebraTopicEquations)));
    EXPECT_EQ(testing::savedDefaults().find(AlgebraTopicState)->stringValue(), AlgebraTopicEquations);
    EXPECT_EQ(made, 0);

    container = launch();
    container->goToTopic(Topic(std::string(AlgebraTopicCustom)));
    ASSERT_EQ(made, 1);
    const std::shared_ptr<ui::ViewController> lists = container->childViewControllers().back();
    EXPECT_EQ(store->listener.lock(), lists);
    EXPECT_FALSE(std::static_pointer_cast<TopicViewController>(lists)->topic());
}

TEST_F(ContainerNavigation, ATopicWhoseScreenCannotBeMadeLeavesHomeWhereItIs) {
    const auto container = launch();
    ui::ClassRegistry::shared().registerClass<TestScreen, ui::ViewController>(
        "PlaygroundViewController", "ViewController", [] { return std::shared_ptr<TestScreen>(); });
    const std::shared_ptr<TopicViewController> home = container->mainVC();
    container->goToTopic(Topic(std::string(AlgebraTopicEquations)));
    EXPECT_FALSE(container->isTransitioning());
    EXPECT_EQ(container->mainVC(), home);
    EXPECT_EQ(container->childViewControllers().size(), 1u);
}

} // namespace
} // namespace zm
