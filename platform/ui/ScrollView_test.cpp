#include "platform/core/Json.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/InterfaceFile.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TouchScript.h"
#include "platform/ui/UiTesting.h"
#include "platform/ui/Window.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

using testing::TouchLog;

class Recorder : public ScrollViewDelegate {
public:
    void scrollViewDidScroll(ScrollView& view) override { offsets.push_back(view.contentOffset()); }
    void scrollViewWillBeginDragging(ScrollView&) override { calls.push_back("willBeginDragging"); }
    void scrollViewDidEndDragging(ScrollView&, bool willDecelerate) override {
        calls.push_back(willDecelerate ? "didEndDragging decelerating" : "didEndDragging");
    }
    void scrollViewDidEndDecelerating(ScrollView& view) override {
        calls.push_back("didEndDecelerating");
        restedAt = view.contentOffset();
    }
    void scrollViewDidEndScrollingAnimation(ScrollView&) override {
        calls.push_back("didEndScrollingAnimation");
    }

    std::vector<std::string> calls;
    std::vector<core::Point> offsets;
    core::Point restedAt;
};

// A horizontal strip 300 x 100 at (0, 0) whose content is three pages wide, with a view to touch on the
// first page.
class ScrollViews : public testing::AnimationFixture {
protected:
    void SetUp() override {
        scroll->setContentSize({900, 100});
        scroll->setDelegate(recorder);
        scroll->addSubview(content);
        window->addSubview(scroll);
    }

    std::shared_ptr<Window> window = Window::create({0, 0, 480, 320});
    std::shared_ptr<ScrollView> scroll = ScrollView::create({0, 0, 300, 100});
    std::shared_ptr<TouchLog> content = TouchLog::make({0, 0, 900, 100});
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    testing::TouchScript fingers{*window};
};

TEST_F(ScrollViews, ADragMovesTheContentAlongItsScrollableAxisOnly) {
    fingers.down({200, 50});
    fingers.move({185, 50});
    fingers.move({150, 80}); // the vertical part moves nothing: the content is as high as the view
    EXPECT_EQ(scroll->contentOffset(), (core::Point{35, 0}));
    EXPECT_TRUE(scroll->isDragging());
    fingers.move({150, 80});
    advance(1); // the finger rests
    fingers.up({150, 80});
    EXPECT_FALSE(scroll->isDragging());
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"willBeginDragging", "didEndDragging"}));
    ASSERT_FALSE(recorder->offsets.empty());
    EXPECT_EQ(recorder->offsets.back(), (core::Point{35, 0}));
}

TEST_F(ScrollViews, ScrollingCancelsTheTouchOfTheViewUnderTheFinger) {
    fingers.down({200, 50});
    EXPECT_TRUE(content->calls.empty()); // held back: the finger may be scrolling
    advance(ScrollView::kContentTouchDelay + 0.01);
    EXPECT_EQ(content->calls, (std::vector<std::string>{"began"})); // a finger held still arrives by itself
    fingers.move({195, 50});
    fingers.move({150, 50}); // scrolling starts
    fingers.move({100, 50});
    fingers.up({100, 50});
    EXPECT_EQ(content->calls, (std::vector<std::string>{"began", "moved", "cancelled"}));
}

TEST_F(ScrollViews, ContentTouchesFollowTheDelaySettings) {
    // A quick tap reaches the content when the finger lifts.
    fingers.tap({200, 50});
    EXPECT_EQ(content->calls, (std::vector<std::string>{"began", "ended"}));

    // A fast drag never shows the content the finger.
    content->calls.clear();
    fingers.drag({200, 50}, {50, 50}, 5);
    EXPECT_TRUE(content->calls.empty());
    EXPECT_GT(scroll->contentOffset().x, 0);

    // Without the delay the content hears the finger at once, until scrolling takes it.
    content->calls.clear();
    scroll->setDelaysContentTouches(false);
    fingers.drag({200, 50}, {100, 50}, 2);
    EXPECT_EQ(content->calls, (std::vector<std::string>{"began", "cancelled"}));

    // A scroll view that may not cancel leaves the finger to the content, and still scrolls.
    content->calls.clear();
    scroll->setCanCancelContentTouches(false);
    const float before = scroll->contentOffset().x;
    fingers.drag({100, 50}, {200, 50}, 2);
    EXPECT_EQ(content->calls, (std::vector<std::string>{"began", "moved", "moved", "ended"}));
    EXPECT_LT(scroll->contentOffset().x, before);
}

TEST_F(ScrollViews, ADragAcrossTheScrollableAxisLeavesTheFingerToTheContent) {
    scroll->setDelaysContentTouches(false);
    fingers.drag({200, 20}, {205, 90}, 3);
    EXPECT_EQ(content->calls, (std::vector<std::string>{"began", "moved", "moved", "moved", "ended"}));
    EXPECT_EQ(scroll->contentOffset(), (core::Point{0, 0}));
    EXPECT_TRUE(recorder->calls.empty());
}

TEST_F(ScrollViews, PulledPastAnEdgeTheContentSpringsBack) {
    fingers.down({50, 50});
    fingers.move({65, 50});
    fingers.move({125, 50}); // 60 past the hysteresis, half of it shows
    EXPECT_EQ(scroll->contentOffset(), (core::Point{-30, 0}));
    fingers.up({125, 50});
    EXPECT_TRUE(scroll->isDecelerating());
    advance(1);
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_EQ(scroll->contentOffset(), (core::Point{0, 0}));
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"willBeginDragging", "didEndDragging decelerating",
                                                         "didEndDecelerating"}));
    // Every frame of the spring was reported, the carousel's hue follows it.
    EXPECT_GT(recorder->offsets.size(), 10u);
    for (size_t i = 1; i < recorder->offsets.size(); ++i)
        EXPECT_GE(recorder->offsets[i].x, recorder->offsets[i - 1].x);

    // Without bouncing the edge holds.
    scroll->setBounces(false);
    fingers.drag({50, 50}, {150, 50}, 4);
    EXPECT_EQ(scroll->contentOffset(), (core::Point{0, 0}));
}

TEST_F(ScrollViews, AFlickGlidesOnAndSlowsToAStop) {
    fingers.drag({250, 50}, {150, 50}, 5); // 20 points a frame: 1200 points a second
    const float atLift = scroll->contentOffset().x;
    EXPECT_TRUE(scroll->isDecelerating());
    advance(0.2);
    const float early = scroll->contentOffset().x;
    advance(0.2);
    const float later = scroll->contentOffset().x;
    EXPECT_GT(early, atLift);
    EXPECT_GT(later, early);
    EXPECT_LT(later - early, early - atLift); // slowing down
    advance(5);
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_EQ(recorder->calls.back(), "didEndDecelerating");
    EXPECT_GE(recorder->restedAt.x, later);
    EXPECT_LE(recorder->restedAt.x, 600);
}

TEST_F(ScrollViews, PagingRestsOnWholePages) {
    scroll->setPagingEnabled(true);
    const struct {
        float to;   // where a slow drag from x = 250 ends
        float page; // the offset the content rests at
    } cases[] = {
        {150, 0},  // a third of a page: back
        {80, 300}, // more than half: on to the next page
    };
    for (const auto& test : cases) {
        scroll->setContentOffset({0, 0});
        fingers.down({250, 50});
        for (float x = 240; x >= test.to; x -= 10)
            fingers.move({x, 50});
        fingers.move({test.to, 50}); // resting before the lift: no flick
        fingers.up({test.to, 50});
        advance(1);
        EXPECT_EQ(scroll->contentOffset(), (core::Point{test.page, 0})) << test.to;
    }
    // A flick goes one page on however short it is, and never further.
    scroll->setContentOffset({300, 0});
    fingers.drag({250, 50}, {190, 50}, 3);
    advance(1);
    EXPECT_EQ(scroll->contentOffset(), (core::Point{600, 0}));
    fingers.drag({250, 50}, {190, 50}, 3); // past the last page: stays
    advance(1);
    EXPECT_EQ(scroll->contentOffset(), (core::Point{600, 0}));
    EXPECT_EQ(recorder->calls.back(), "didEndDecelerating");
}

TEST_F(ScrollViews, AnAnimatedScrollReportsEveryFrameAndItsArrival) {
    scroll->setContentOffset({300, 0}, true);
    EXPECT_EQ(scroll->contentOffset(), (core::Point{0, 0}));
    advance(0.15);
    const float halfway = scroll->contentOffset().x;
    EXPECT_GT(halfway, 0);
    EXPECT_LT(halfway, 300);
    advance(0.5);
    EXPECT_EQ(scroll->contentOffset(), (core::Point{300, 0}));
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"didEndScrollingAnimation"}));
    EXPECT_GT(recorder->offsets.size(), 5u);

    // A drag stops an animation in flight.
    recorder->calls.clear();
    scroll->setContentOffset({0, 0}, true);
    advance(0.1);
    fingers.down({100, 50});
    fingers.move({110, 50});
    fingers.move({130, 50});
    const float held = scroll->contentOffset().x;
    advance(1);
    EXPECT_EQ(scroll->contentOffset().x, held);
    fingers.move({130, 50});
    fingers.up({130, 50});
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"willBeginDragging", "didEndDragging"}));
}

TEST_F(ScrollViews, ScrollRectToVisibleMovesAsLittleAsNeeded) {
    scroll->setContentSize({900, 400});
    scroll->setContentInset({0, 10, 0, 0});
    const struct {
        core::Point from;
        core::Rect rect;
        core::Point to;
    } cases[] = {
        {{0, 0}, {50, 10, 40, 40}, {0, 0}},        // already in view
        {{0, 0}, {350, 10, 50, 40}, {100, 0}},     // right edge to the right edge
        {{300, 0}, {200, 10, 50, 40}, {190, 0}},   // left edge inside the inset
        {{0, 0}, {100, 350, 50, 40}, {0, 290}},    // down
        {{0, 0}, {500, 0, 600, 40}, {490, 0}},     // too wide: its left part
        {{0, 0}, {1000, 500, 50, 50}, {600, 300}}, // beyond the content: the far corner
    };
    for (const auto& test : cases) {
        scroll->setContentOffset(test.from);
        scroll->scrollRectToVisible(test.rect, false);
        EXPECT_EQ(scroll->contentOffset(), test.to) << test.rect.minX() << "," << test.rect.minY();
    }
}

TEST_F(ScrollViews, IndicatorsShowWhileMovingAndFadeAfter) {
    EXPECT_FALSE(scroll->isShowingScrollIndicator());
    scroll->flashScrollIndicators();
    EXPECT_TRUE(scroll->isShowingScrollIndicator());
    advance(1);
    EXPECT_FALSE(scroll->isShowingScrollIndicator());

    fingers.down({250, 50});
    fingers.move({240, 50});
    fingers.move({200, 50});
    EXPECT_TRUE(scroll->isShowingScrollIndicator());
    fingers.move({200, 50});
    fingers.up({200, 50});
    advance(1);
    EXPECT_FALSE(scroll->isShowingScrollIndicator());
}

class ScrollingScreen : public ViewController, public ScrollViewDelegate {
public:
    static std::shared_ptr<ScrollingScreen> make() {
        return std::shared_ptr<ScrollingScreen>(new ScrollingScreen);
    }
    void scrollViewDidScroll(ScrollView&) override { ++scrolls; }
    int scrolls = 0;
};

TEST(ScrollViewFromAFile, TakesItsSettingsAndDelegate) {
    ClassRegistry registry;
    InterfaceLoader loader({{}, Idiom::Phone, nullptr}, registry);
    auto screen = ScrollingScreen::make();
    const core::Status loaded = loader.loadDocumentInto(core::parseJson(R"({"view": {
        "class": "ScrollView", "frame": [0, 0, 300, 100],
        "properties": {"contentSize": [900, 100], "contentInset": [0, 10, 0, 10], "pagingEnabled": true,
                       "delaysContentTouches": false, "bounces": false},
        "outlets": {"delegate": "owner"}}})")
                                                            .value(),
                                                        *screen);
    ASSERT_TRUE(loaded.ok()) << loaded.error().text();
    auto* scroll = dynamic_cast<ScrollView*>(screen->view().get());
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->contentSize(), (core::Size{900, 100}));
    EXPECT_EQ(scroll->maximumContentOffset(), (core::Point{610, 0}));
    EXPECT_TRUE(scroll->isPagingEnabled());
    EXPECT_FALSE(scroll->delaysContentTouches());
    EXPECT_FALSE(scroll->bounces());
    scroll->setContentOffset({100, 0});
    EXPECT_EQ(screen->scrolls, 1);
    EXPECT_FALSE(loader
                     .loadDocumentInto(core::parseJson(R"({"view": {"class": "ScrollView",
                         "properties": {"contentSize": [900]}}})")
                                           .value(),
                                       *screen)
                     .ok());
}

TEST(ScrollViewWithoutAnimations, AnimatedScrollsArriveAtOnce) {
    auto scroll = ScrollView::create({0, 0, 300, 100});
    auto recorder = std::make_shared<Recorder>();
    scroll->setContentSize({900, 100});
    scroll->setDelegate(recorder);
    scroll->setContentOffset({300, 0}, true);
    EXPECT_EQ(scroll->contentOffset(), (core::Point{300, 0}));
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"didEndScrollingAnimation"}));
}

} // namespace
} // namespace ui
