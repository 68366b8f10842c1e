#include "platform/ui/Window.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

using Input = Window::TouchInput;

// Records every touch call it receives, with the touch's location in its own coordinates.
class Recorder : public View {
public:
    struct Call {
        std::string phase;
        core::Point location;
        core::Point previous;
        int tapCount;
        size_t count;
    };

    static std::shared_ptr<Recorder> make(const core::Rect& frame) {
        return std::shared_ptr<Recorder>(new Recorder(frame));
    }

    void touchesBegan(const TouchSet& touches, const Event&) override { record("began", touches); }
    void touchesMoved(const TouchSet& touches, const Event&) override { record("moved", touches); }
    void touchesEnded(const TouchSet& touches, const Event&) override { record("ended", touches); }
    void touchesCancelled(const TouchSet& touches, const Event&) override { record("cancelled", touches); }

    std::vector<Call> calls;

private:
    explicit Recorder(const core::Rect& frame)
        : View(frame) {}

    void record(std::string phase, const TouchSet& touches) {
        const Touch& touch = *touches.front();
        calls.push_back({std::move(phase), touch.locationInView(this), touch.previousLocationInView(this),
                         touch.tapCount(), touches.size()});
    }
};

class WindowTouches : public ::testing::Test {
protected:
    void SetUp() override {
        left = Recorder::make({0, 0, 100, 100});
        right = Recorder::make({200, 0, 100, 100});
        window->addSubview(left);
        window->addSubview(right);
    }

    void send(std::initializer_list<Input> inputs, double time) { window->dispatchTouches(inputs, time); }

    std::shared_ptr<Window> window = Window::create({0, 0, 400, 300});
    std::shared_ptr<Recorder> left;
    std::shared_ptr<Recorder> right;
};

TEST_F(WindowTouches, AFingerStaysWithTheViewItLandedOn) {
    send({{0, TouchPhase::Began, {10, 20}}}, 1.0);
    send({{0, TouchPhase::Moved, {150, 30}}}, 1.1);
    send({{0, TouchPhase::Moved, {250, 40}}}, 1.2); // over the other view
    send({{0, TouchPhase::Ended, {260, 50}}}, 1.3);
    ASSERT_EQ(left->calls.size(), 4u);
    EXPECT_TRUE(right->calls.empty());
    EXPECT_EQ(left->calls[0].phase, "began");
    EXPECT_EQ(left->calls[0].location, (core::Point{10, 20}));
    EXPECT_EQ(left->calls[2].phase, "moved");
    EXPECT_EQ(left->calls[2].location, (core::Point{250, 40}));
    EXPECT_EQ(left->calls[2].previous, (core::Point{150, 30}));
    EXPECT_EQ(left->calls[3].phase, "ended");
    EXPECT_EQ(left->calls[3].location, (core::Point{260, 50}));
}

TEST_F(WindowTouches, LocationsAreInTheReceiversCoordinates) {
    send({{0, TouchPhase::Began, {210, 30}}}, 1.0);
    ASSERT_EQ(right->calls.size(), 1u);
    EXPECT_EQ(right->calls[0].location, (core::Point{10, 30}));
}

TEST_F(WindowTouches, UnhandledTouchesClimbTheResponderChain) {
    auto inner = View::create({10, 10, 20, 20}); // handles nothing itself
    left->addSubview(inner);
    send({{0, TouchPhase::Began, {15, 15}}}, 1.0);
    ASSERT_EQ(left->calls.size(), 1u);
    EXPECT_EQ(left->calls[0].location, (core::Point{15, 15}));
}

TEST_F(WindowTouches, TapsCloseInTimeAndPlaceCount) {
    const double times[] = {1.0, 1.2, 1.4, 2.5};
    for (double time : times) {
        send({{0, TouchPhase::Began, {50, 50}}}, time);
        send({{0, TouchPhase::Ended, {50, 50}}}, time + 0.05);
    }
    std::vector<int> counts;
    for (const auto& call : left->calls) {
        if (call.phase == "began")
            counts.push_back(call.tapCount);
    }
    EXPECT_EQ(counts, (std::vector<int>{1, 2, 3, 1}));
    // Far away, the count starts again.
    send({{0, TouchPhase::Began, {90, 90}}}, 2.6);
    EXPECT_EQ(left->calls.back().tapCount, 1);
}

TEST_F(WindowTouches, SecondFingersNeedMultipleTouch) {
    send({{0, TouchPhase::Began, {10, 10}}}, 1.0);
    send({{1, TouchPhase::Began, {20, 20}}}, 1.0);
    EXPECT_EQ(left->calls.size(), 1u);
    send({{1, TouchPhase::Ended, {20, 20}}}, 1.1); // the ignored finger never arrives
    EXPECT_EQ(left->calls.size(), 1u);

    left->setMultipleTouchEnabled(true);
    send({{2, TouchPhase::Began, {30, 30}}}, 1.2);
    ASSERT_EQ(left->calls.size(), 2u);
    // Two fingers moving together arrive in one call.
    send({{0, TouchPhase::Moved, {11, 11}}, {2, TouchPhase::Moved, {31, 31}}}, 1.3);
    ASSERT_EQ(left->calls.size(), 3u);
    EXPECT_EQ(left->calls.back().count, 2u);
}

TEST_F(WindowTouches, ExclusiveTouchKeepsOtherFingersOut) {
    right->setExclusiveTouch(true);
    send({{0, TouchPhase::Began, {210, 10}}}, 1.0);
    send({{1, TouchPhase::Began, {10, 10}}}, 1.0);
    EXPECT_TRUE(left->calls.empty());
    send({{0, TouchPhase::Ended, {210, 10}}}, 1.1);
    send({{1, TouchPhase::Ended, {10, 10}}}, 1.1);

    send({{2, TouchPhase::Began, {10, 10}}}, 2.0);
    send({{3, TouchPhase::Began, {210, 10}}}, 2.0);
    EXPECT_EQ(right->calls.size(), 2u); // only the first sequence's began and ended
    EXPECT_EQ(left->calls.size(), 1u);
}

TEST_F(WindowTouches, AnExclusiveViewTakesItsOwnFurtherFingersWhenMultipleTouch) {
    right->setExclusiveTouch(true);
    send({{0, TouchPhase::Began, {210, 10}}}, 1.0);
    send({{1, TouchPhase::Began, {250, 50}}}, 1.0);
    EXPECT_EQ(right->calls.size(), 1u); // one finger at a time without multiple touch
    send({{0, TouchPhase::Ended, {210, 10}}, {1, TouchPhase::Ended, {250, 50}}}, 1.1);

    right->setMultipleTouchEnabled(true);
    send({{2, TouchPhase::Began, {210, 10}}}, 2.0);
    send({{3, TouchPhase::Began, {250, 50}}}, 2.0);
    send({{4, TouchPhase::Began, {10, 10}}}, 2.0); // other views still get no finger
    send({{2, TouchPhase::Moved, {212, 10}}, {3, TouchPhase::Moved, {252, 50}}}, 2.1);
    ASSERT_EQ(right->calls.size(), 5u);
    EXPECT_EQ(right->calls[3].phase, "began");
    EXPECT_EQ(right->calls[4].phase, "moved");
    EXPECT_EQ(right->calls[4].count, 2u);
    EXPECT_TRUE(left->calls.empty());
}

TEST_F(WindowTouches, CancellingEndsEveryFinger) {
    left->setMultipleTouchEnabled(true);
    send({{0, TouchPhase::Began, {10, 10}}, {1, TouchPhase::Began, {20, 10}}}, 1.0);
    window->cancelTouches(1.5);
    ASSERT_EQ(left->calls.size(), 2u);
    EXPECT_EQ(left->calls[1].phase, "cancelled");
    EXPECT_EQ(left->calls[1].count, 2u);
    // A finger that is gone moves nothing.
    send({{0, TouchPhase::Moved, {12, 10}}}, 1.6);
    EXPECT_EQ(left->calls.size(), 2u);
}

TEST_F(WindowTouches, ATouchOutlivesItsViewSafely) {
    send({{0, TouchPhase::Began, {10, 10}}}, 1.0);
    left->removeFromSuperview();
    left.reset();
    send({{0, TouchPhase::Moved, {20, 10}}}, 1.1);
    send({{0, TouchPhase::Ended, {20, 10}}}, 1.2);
    EXPECT_TRUE(right->calls.empty());
}

TEST_F(WindowTouches, TouchesOnNothingReachNobody) {
    send({{0, TouchPhase::Began, {150, 150}}}, 1.0); // the window itself handles nothing
    send({{0, TouchPhase::Ended, {150, 150}}}, 1.1);
    EXPECT_TRUE(left->calls.empty());
    EXPECT_TRUE(right->calls.empty());
}

} // namespace
} // namespace ui
