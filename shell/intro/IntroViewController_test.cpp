#include "model/Expr.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/executors/IntroEliminateExecutor.h"
#include "playground/executors/IntroFaultyAdder.h"
#include "playground/executors/IntroFaultyEliminator.h"
#include "playground/executors/IntroMixTapExecutor.h"
#include "shell/container/ContainerViewController.h"
#include "shell/home/HomeViewController.h"
#include "shell/intro/AlgebraCell.h"
#include "shell/intro/CustomPageControlView.h"
#include "shell/intro/IntroViewController.h"
#include "shell/intro/PlayIntroCollectionViewCell.h"
#include "shell/testing/ScreenTesting.h"
#include "shell/testing/ShellTesting.h"

#include <set>

namespace zm {
namespace {

using testing::kPhone;
using testing::kTablet;

// The first launch in English: the container shows the bundle's tutorial over the home screen.
class Intro : public testing::ShellTest {
protected:
    std::shared_ptr<IntroViewController> launch(const ui::Device& device = kTablet) {
        testing::testDefaults().removeObject("seenIntro");
        host::HeadlessHost& application = start(device);
        container = ContainerViewController::create();
        application.window().setRootViewController(container);
        application.runUntilIdle();
        auto intro = std::dynamic_pointer_cast<IntroViewController>(container->mainVC());
        EXPECT_TRUE(intro);
        host->advance(0.1);
        return intro;
    }

    ui::CollectionView& pager(IntroViewController& intro) { return *intro.collectionView(); }

    // The slide in sight once the pager is at rest.
    int slideShown(IntroViewController& intro) {
        const auto visible = pager(intro).indexPathsForVisibleItems();
        return visible.size() == 1 ? visible.front().item : -1;
    }

    template <class Cell> std::shared_ptr<Cell> cell(IntroViewController& intro, int row) {
        return std::dynamic_pointer_cast<Cell>(pager(intro).cellForItem({0, row}));
    }

    void tapButton(ui::Button& button) { testing::tap(*host, testing::middleInWindow(button)); }

    std::shared_ptr<ContainerViewController> container;
};

TEST_F(Intro, TheFirstLaunchShowsFourSlidesStartingWithTheWelcome) {
    for (const ui::Device& device : {kPhone, kTablet}) {
        const auto intro = launch(device);
        ASSERT_TRUE(intro);
        EXPECT_EQ(intro->containerVC(), container);
        EXPECT_EQ(intro->preferredStatusBarStyle(), ui::StatusBarStyle::LightContent);
        EXPECT_EQ(intro->skipButton()->currentTitle(), "Skip Tutorial");
        EXPECT_EQ(intro->leftButton()->alpha(), 0);
        EXPECT_EQ(intro->pageControl()->totalPages(), 4u);
        EXPECT_EQ(intro->pageControl()->currentPage(), 0u);
        EXPECT_EQ(pager(*intro).numberOfItems(0), 4);
        const core::Size slide{device.screenSize().width, device.isTablet() ? 723.0f : 275.0f};
        for (int row = 0; row < 4; ++row)
            EXPECT_EQ(pager(*intro).frameForItem({0, row})->size, slide) << row;
        EXPECT_EQ(slideShown(*intro), 0);
        const auto welcome = cell<FirstIntroCell>(*intro, 0);
        ASSERT_TRUE(welcome);
        EXPECT_EQ(welcome->bigLabel()->text(), "Welcome");
        EXPECT_EQ(welcome->smallLabel()->text(), "Let's explore the rules of algebra using touch gestures.");
    }
}

TEST_F(Intro, NextAndBackMoveOneSlideOnlyWhileOneSlideIsInSight) {
    const auto intro = launch(kPhone);
    ASSERT_TRUE(intro);
    // Back does nothing on the first slide.
    intro->hitBack();
    host->advance(0.6);
    EXPECT_EQ(slideShown(*intro), 0);

    const struct {
        void (IntroViewController::*button)();
        int shown;
        const char* skipTitle;
        float backAlpha;
    } steps[] = {
        {&IntroViewController::hitNext, 1, "Skip Tutorial", 1},
        {&IntroViewController::hitNext, 2, "Skip Tutorial", 1},
        {&IntroViewController::hitNext, 3, "Finish Tutorial", 1},
        {&IntroViewController::hitBack, 2, "Skip Tutorial", 1},
        {&IntroViewController::hitBack, 1, "Skip Tutorial", 1},
        {&IntroViewController::hitBack, 0, "Skip Tutorial", 0},
    };
    for (const auto& step : steps) {
        ((*intro).*step.button)();
        // Between two slides neither button does anything.
        host->advance(0.1);
        EXPECT_EQ(slideShown(*intro), -1);
        intro->hitNext();
        intro->hitBack();
        host->advance(0.6);
        EXPECT_EQ(slideShown(*intro), step.shown);
        EXPECT_EQ(intro->pageControl()->currentPage(), unsigned(step.shown));
        EXPECT_EQ(intro->skipButton()->currentTitle(), step.skipTitle);
        EXPECT_EQ(intro->leftButton()->alpha(), step.backAlpha);
    }
}

TEST_F(Intro, NextOnTheLastSlideFinishesLikeSkip) {
    for (bool bySkip : {false, true}) {
        std::weak_ptr<IntroViewController> intro = launch(kTablet);
        ASSERT_TRUE(intro.lock());
        if (bySkip) {
            tapButton(*intro.lock()->skipButton());
        } else {
            intro.lock()->collectionView()->scrollToItem(
                {0, 3}, ui::CollectionView::ScrollPosition::CenteredHorizontally, false);
            EXPECT_EQ(intro.lock()->skipButton()->currentTitle(), "Finish Tutorial");
            tapButton(*intro.lock()->nextButton());
        }
        ASSERT_TRUE(container->isTransitioning());
        host->advance(0.8);
        EXPECT_TRUE(std::dynamic_pointer_cast<HomeViewController>(container->mainVC()));
        host->advance(0.1);
        EXPECT_TRUE(intro.expired());
    }
}

TEST_F(Intro, ThePageFollowsTheScrollSwitchingHalfwayBetweenSlides) {
    const struct {
        float offset;
        unsigned page;
    } cases[] = {{0, 0},   {239, 0},  {240, 1},  {480, 1}, {719.9f, 1},
                 {720, 2}, {1440, 3}, {-200, 0}, {1700, 3}};
    for (const auto& test : cases)
        EXPECT_EQ(IntroViewController::pageForOffset(test.offset, 1920, 4), test.page) << test.offset;
    EXPECT_EQ(IntroViewController::pageForOffset(100, 0, 4), 0u);
    EXPECT_EQ(IntroViewController::pageForOffset(100, 1920, 0), 0u);

    // Dragging the pager by hand moves the dots and turns the titles with it.
    const auto intro = launch(kPhone);
    ASSERT_TRUE(intro);
    intro->collectionView()->scrollToItem({0, 3}, ui::CollectionView::ScrollPosition::CenteredHorizontally,
                                          false);
    host->touchDown({300, 150});
    for (int step = 1; step <= 10; ++step) {
        host->advance(0.05);
        host->touchMove({300.0f + 30 * float(step), 150});
    }
    EXPECT_EQ(intro->pageControl()->currentPage(), 2u);
    EXPECT_EQ(intro->skipButton()->currentTitle(), "Skip Tutorial");
    host->touchUp({600, 150});
    host->advance(1);
    EXPECT_EQ(slideShown(*intro), 2);
    EXPECT_EQ(intro->pageControl()->currentPage(), 2u);
}

TEST_F(Intro, TheSlideTextsAndTheHeavierWordsOfTheDemonstrationHeading) {
    for (const ui::Device& device : {kPhone, kTablet}) {
        const auto intro = launch(device);
        ASSERT_TRUE(intro);
        intro->collectionView()->scrollToItem(
            {0, 1}, ui::CollectionView::ScrollPosition::CenteredHorizontally, false);
        const auto success = cell<DemoSuccessCell>(*intro, 1);
        ASSERT_TRUE(success);
        const float size = device.isTablet() ? 30 : 25;
        const gfx::AttributedText& heading = success->label()->attributedText();
        EXPECT_EQ(heading.plainText(), "You can tap, drag, and draw lines.");
        std::vector<std::string> marked;
        for (const gfx::TextRun& run : heading.runs()) {
            EXPECT_EQ(run.font.pointSize(), size);
            if (run.font.name() == "HelveticaNeue-Light")
                marked.push_back(run.text);
            else
                EXPECT_EQ(run.font.name(), "HelveticaNeue-Ultralight");
        }
        EXPECT_EQ(marked, (std::vector<std::string>{"tap", "drag", "draw lines"}));

        intro->collectionView()->scrollToItem(
            {0, 2}, ui::CollectionView::ScrollPosition::CenteredHorizontally, false);
        const auto fail = cell<DemoFailCell>(*intro, 2);
        ASSERT_TRUE(fail);
        EXPECT_EQ(fail->bigLabel()->text(), "You can't break the rules of math,");
        EXPECT_EQ(fail->smallLabel()->text(), "so don't be afraid to experiment.");

        intro->collectionView()->scrollToItem(
            {0, 3}, ui::CollectionView::ScrollPosition::CenteredHorizontally, false);
        const auto last = cell<LastIntroCell>(*intro, 3);
        ASSERT_TRUE(last);
        EXPECT_EQ(last->bigLabel()->text(), "Good luck & have fun!");
    }
}

// What one demonstration slide plays: its playgrounds, their players and the expressions they show.
struct Demonstration {
    std::weak_ptr<PlaygroundView> left, right;
    std::weak_ptr<AIExecutor> leftPlayer, rightPlayer;

    explicit Demonstration(const PlayIntroCollectionViewCell& cell)
        : left(cell.leftPlaygroundView())
        , right(cell.rightPlaygroundView())
        , leftPlayer(cell.leftPlaygroundView()->executor())
        , rightPlayer(cell.rightPlaygroundView()->executor()) {}

    bool gone() const {
        return left.expired() && right.expired() && leftPlayer.expired() && rightPlayer.expired();
    }
};

std::string shown(const std::weak_ptr<PlaygroundView>& playground) {
    const auto view = playground.lock();
    return view && view->mainPlayground() && view->mainPlayground()->mainExpr()
               ? view->mainPlayground()->mainExpr()->description()
               : "<nothing>";
}

TEST_F(Intro, TheDemonstrationsPlayWhileTheirSlideIsHandedOutAndStopWhenItGoes) {
    std::weak_ptr<IntroViewController> intro = launch(kPhone);
    ASSERT_TRUE(intro.lock());
    intro.lock()->hitNext();
    host->advance(0.6);
    auto success = cell<DemoSuccessCell>(*intro.lock(), 1);
    ASSERT_TRUE(success);
    const Demonstration first(*success);
    ASSERT_TRUE(first.leftPlayer.lock() && first.rightPlayer.lock());
    EXPECT_TRUE(std::dynamic_pointer_cast<IntroMixTapExecutor>(first.leftPlayer.lock()));
    EXPECT_TRUE(std::dynamic_pointer_cast<IntroEliminateExecutor>(first.rightPlayer.lock()));
    // Both play at once, each with its finger in its own container, on playgrounds of the left
    // container's size.
    EXPECT_TRUE(first.leftPlayer.lock()->operational());
    EXPECT_TRUE(first.rightPlayer.lock()->operational());
    EXPECT_EQ(first.left.lock()->superview(), success->leftContainerView().get());
    EXPECT_EQ(first.right.lock()->superview(), success->rightContainerView().get());
    EXPECT_EQ(first.right.lock()->frame().size, success->leftContainerView()->frame().size);
    EXPECT_EQ(first.leftPlayer.lock()->containerView(), success->leftContainerView());
    EXPECT_EQ(first.rightPlayer.lock()->containerView(), success->rightContainerView());
    std::set<std::string> leftSeen, rightSeen;
    for (int step = 0; step < 60; ++step) {
        host->advance(0.25);
        leftSeen.insert(shown(first.left));
        rightSeen.insert(shown(first.right));
    }
    // "3*x" is commuted and multiplied, "(5*2)/2" cancelled and put back, over and over.
    EXPECT_TRUE(leftSeen.contains("3 * x")) << ::testing::PrintToString(leftSeen);
    EXPECT_GE(leftSeen.size(), 2u) << ::testing::PrintToString(leftSeen);
    EXPECT_GE(rightSeen.size(), 2u) << ::testing::PrintToString(rightSeen);

    // The refused moves: the expressions stay as they are, shaken without a sound.
    intro.lock()->hitNext();
    host->advance(0.6);
    auto fail = cell<DemoFailCell>(*intro.lock(), 2);
    ASSERT_TRUE(fail);
    const Demonstration refused(*fail);
    EXPECT_TRUE(std::dynamic_pointer_cast<IntroFaultyAdder>(refused.leftPlayer.lock()));
    EXPECT_TRUE(std::dynamic_pointer_cast<IntroFaultyEliminator>(refused.rightPlayer.lock()));
    for (int step = 0; step < 40; ++step) {
        host->advance(0.25);
        EXPECT_EQ(shown(refused.left), "1 + 2 * 3");
    }
    EXPECT_TRUE(host->playedSounds().empty());

    // Handed out again, a slide starts afresh on new playgrounds; the old demonstrations stop and go.
    intro.lock()->hitBack();
    host->advance(0.6);
    ASSERT_EQ(cell<DemoSuccessCell>(*intro.lock(), 1), success);
    const Demonstration again(*success);
    EXPECT_TRUE(first.gone());
    EXPECT_EQ(shown(again.left), "3 * x");
    EXPECT_EQ(shown(again.right), "(5 * 2) / 2");
    EXPECT_TRUE(again.leftPlayer.lock()->operational());

    // Leaving the tutorial stops every demonstration: nothing of them is left.
    const std::weak_ptr<PlayIntroCollectionViewCell> slides[] = {success, fail};
    success.reset();
    fail.reset();
    intro.lock()->hitSkip();
    host->advance(1);
    EXPECT_TRUE(intro.expired());
    EXPECT_TRUE(again.gone());
    EXPECT_TRUE(refused.gone());
    EXPECT_TRUE(slides[0].expired() && slides[1].expired());
    host->advance(5);
}

TEST_F(Intro, EverySlideIsDrawnLegiblyOnBothDevices) {
    for (const ui::Device& device : {ui::Device{ui::Idiom::Phone, 2}, kTablet}) {
        const std::string idiom = device.isTablet() ? "tablet" : "phone";
        const auto intro = launch(device);
        ASSERT_TRUE(intro);
        for (int row = 0; row < 4; ++row) {
            if (row > 0) {
                intro->hitNext();
                host->advance(row == 1 || row == 2 ? 2.5 : 0.6);
            }
            const auto frame = testing::keepScreenshot(*host, "intro-" + idiom + "-" + std::to_string(row));
            const auto slide = cell<AlgebraCell>(*intro, row);
            ASSERT_TRUE(slide) << row;
            for (const std::shared_ptr<ui::Label>& text : {slide->bigLabel(), slide->smallLabel()}) {
                if (text)
                    testing::expectLegible(*frame, *text, device.scale);
            }
            if (const auto demonstration = std::dynamic_pointer_cast<PlayIntroCollectionViewCell>(slide)) {
                if (demonstration->label())
                    testing::expectLegible(*frame, *demonstration->label(), device.scale);
                testing::expectLegible(*frame, *demonstration->leftContainerView(), device.scale);
                testing::expectLegible(*frame, *demonstration->rightContainerView(), device.scale);
            }
            testing::expectLegible(*frame, *intro->skipButton(), device.scale);
        }
    }
}

} // namespace
} // namespace zm
