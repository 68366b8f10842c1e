#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/PinchGestureRecognizer.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "platform/ui/TouchScript.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

using testing::TouchLog;

class Gestures : public ::testing::Test {
protected:
    void SetUp() override {
        view->setMultipleTouchEnabled(true);
        window->addSubview(view);
    }

    // Records each state the recogniser reports.
    GestureRecognizer::Action recordStates() {
        return [this](GestureRecognizer& recognizer) { states.push_back(recognizer.state()); };
    }

    std::shared_ptr<Window> window = Window::create({0, 0, 480, 320});
    std::shared_ptr<TouchLog> view = TouchLog::make({0, 0, 400, 300});
    testing::TouchScript fingers{*window};
    std::vector<GestureState> states;
};

TEST_F(Gestures, APanCancelsTheViewsTouchesOnceItBegins) {
    auto pan = PanGestureRecognizer::create(recordStates());
    view->addGestureRecognizer(pan);
    std::vector<core::Point> translations;
    pan->addTarget([&](GestureRecognizer&) { translations.push_back(pan->translationInView(view.get())); });

    fingers.down({100, 100});
    fingers.move({105, 100}); // within the hysteresis: the view still has the finger
    fingers.move({130, 100}); // the pan begins
    fingers.move({150, 110});
    fingers.up({150, 110});

    EXPECT_EQ(view->calls, (std::vector<std::string>{"began", "moved", "cancelled"}));
    EXPECT_EQ(states,
              (std::vector<GestureState>{GestureState::Began, GestureState::Changed, GestureState::Ended}));
    ASSERT_EQ(translations.size(), 3u);
    EXPECT_EQ(translations[0], (core::Point{0, 0}));
    EXPECT_EQ(translations[1], (core::Point{20, 10}));
    EXPECT_EQ(pan->state(), GestureState::Possible); // ready for the next gesture
}

TEST_F(Gestures, ADisabledPanLeavesTheTouchesToTheView) {
    auto pan = PanGestureRecognizer::create(recordStates());
    pan->setEnabled(false);
    view->addGestureRecognizer(pan);
    fingers.drag({100, 100}, {200, 100}, 3);
    EXPECT_TRUE(states.empty());
    EXPECT_EQ(view->calls, (std::vector<std::string>{"began", "moved", "moved", "moved", "ended"}));
}

TEST_F(Gestures, DisablingAPanInItsActionCancelsIt) {
    auto pan = PanGestureRecognizer::create(recordStates());
    pan->addTarget([](GestureRecognizer& recognizer) {
        if (recognizer.state() == GestureState::Began)
            recognizer.setEnabled(false);
    });
    view->addGestureRecognizer(pan);
    fingers.drag({100, 100}, {200, 100}, 4);
    EXPECT_EQ(states, (std::vector<GestureState>{GestureState::Began, GestureState::Cancelled}));
    pan->setEnabled(true);
    states.clear();
    fingers.drag({100, 100}, {200, 100}, 4);
    EXPECT_EQ(states.front(), GestureState::Began);
}

TEST_F(Gestures, APanWithOneFingerAtMostIgnoresTwo) {
    auto pan = PanGestureRecognizer::create(recordStates());
    pan->setMaximumNumberOfTouches(1);
    view->addGestureRecognizer(pan);
    fingers.send({{0, TouchPhase::Began, {100, 100}}, {1, TouchPhase::Began, {200, 100}}});
    fingers.send({{0, TouchPhase::Moved, {150, 100}}, {1, TouchPhase::Moved, {250, 100}}});
    fingers.send({{0, TouchPhase::Ended, {150, 100}}, {1, TouchPhase::Ended, {250, 100}}});
    EXPECT_TRUE(states.empty());
}

TEST_F(Gestures, APinchScalesByTheFingersDistance) {
    auto pinch = PinchGestureRecognizer::create(recordStates());
    view->addGestureRecognizer(pinch);
    std::vector<std::pair<float, size_t>> seen;
    pinch->addTarget([&](GestureRecognizer&) { seen.push_back({pinch->scale(), pinch->numberOfTouches()}); });
    fingers.send({{0, TouchPhase::Began, {150, 100}}, {1, TouchPhase::Began, {250, 100}}});
    fingers.send(
        {{0, TouchPhase::Moved, {145, 100}}, {1, TouchPhase::Moved, {255, 100}}}); // 110 apart: begins
    fingers.send({{0, TouchPhase::Moved, {90, 100}}, {1, TouchPhase::Moved, {310, 100}}}); // 220 apart
    fingers.send({{0, TouchPhase::Ended, {90, 100}}, {1, TouchPhase::Ended, {310, 100}}});
    EXPECT_EQ(states,
              (std::vector<GestureState>{GestureState::Began, GestureState::Changed, GestureState::Ended}));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_FLOAT_EQ(seen[1].first, 2);
    EXPECT_EQ(seen[1].second, 2u);
}

TEST_F(Gestures, ATapThatDoesNotCancelLeavesTheViewItsTouchesToo) {
    auto tap = TapGestureRecognizer::create(recordStates());
    tap->setCancelsTouchesInView(false);
    view->addGestureRecognizer(tap);
    fingers.tap({50, 50});
    EXPECT_EQ(states, (std::vector<GestureState>{GestureState::Ended}));
    EXPECT_EQ(static_cast<int>(states.front()), 3);
    EXPECT_EQ(view->calls, (std::vector<std::string>{"began", "ended"}));
}

TEST_F(Gestures, ATapFailsWhenTheFingerWanders) {
    auto tap = TapGestureRecognizer::create(recordStates());
    view->addGestureRecognizer(tap);
    fingers.drag({50, 50}, {90, 50}, 2);
    EXPECT_TRUE(states.empty());
    EXPECT_EQ(view->calls.back(), "ended");
}

TEST_F(Gestures, ATappedViewHearsCancelledInsteadOfEnded) {
    auto tap = TapGestureRecognizer::create(recordStates());
    view->addGestureRecognizer(tap);
    fingers.tap({50, 50});
    EXPECT_EQ(view->calls, (std::vector<std::string>{"began", "cancelled"}));
}

TEST_F(Gestures, ARecogniserOnASuperviewWatchesTheSubviewsTouches) {
    auto child = TouchLog::make({10, 10, 50, 50});
    view->addSubview(child);
    auto tap = TapGestureRecognizer::create(recordStates());
    view->addGestureRecognizer(tap);
    fingers.tap({20, 20});
    EXPECT_EQ(states.size(), 1u);
    EXPECT_EQ(child->calls, (std::vector<std::string>{"began", "cancelled"}));
    EXPECT_TRUE(view->calls.empty());
}

TEST_F(Gestures, HeldBackTouchesReachTheViewWhenTheFingerLiftsWithoutAGesture) {
    auto pan = PanGestureRecognizer::create(recordStates());
    pan->setDelaysTouchesBegan(true);
    view->addGestureRecognizer(pan);
    fingers.down({100, 100});
    EXPECT_TRUE(view->calls.empty());
    fingers.up({102, 100});
    EXPECT_EQ(view->calls, (std::vector<std::string>{"began", "ended"}));
    view->calls.clear();
    fingers.drag({100, 100}, {200, 100}, 4); // a pan: the view never hears of it
    EXPECT_TRUE(view->calls.empty());
    EXPECT_EQ(states.back(), GestureState::Ended);
}

TEST_F(Gestures, AHoldLongerThanTheDelayReachesTheView) {
    auto pan = PanGestureRecognizer::create();
    pan->setDelaysTouchesBegan(true, 0.15);
    view->addGestureRecognizer(pan);
    window->dispatchTouches(std::vector<Window::TouchInput>{{0, TouchPhase::Began, {100, 100}}}, 1.0);
    window->dispatchTouches(std::vector<Window::TouchInput>{{0, TouchPhase::Moved, {101, 100}}}, 1.05);
    EXPECT_TRUE(view->calls.empty());
    window->dispatchTouches(std::vector<Window::TouchInput>{{0, TouchPhase::Moved, {102, 100}}}, 1.2);
    EXPECT_EQ(view->calls, (std::vector<std::string>{"began", "moved"}));
}

TEST_F(Gestures, FingersThatRestBeforeLiftingHaveNoSpeedLeft) {
    auto pan = PanGestureRecognizer::create();
    view->addGestureRecognizer(pan);
    std::vector<float> speeds; // at the lift
    pan->addTarget([&](GestureRecognizer&) {
        if (pan->state() == GestureState::Ended)
            speeds.push_back(pan->velocityInView(nullptr).x);
    });
    for (const double rest : {0.01, 0.5}) {
        auto at = [&](TouchPhase phase, float x, double time) {
            window->dispatchTouches(std::vector<Window::TouchInput>{{0, phase, {x, 100}}}, time);
        };
        at(TouchPhase::Began, 100, 1.0);
        at(TouchPhase::Moved, 120, 1.1);
        at(TouchPhase::Moved, 140, 1.2);
        at(TouchPhase::Ended, 140, 1.2 + rest);
    }
    EXPECT_EQ(speeds, (std::vector<float>{200, 0}));
}

} // namespace
} // namespace ui
