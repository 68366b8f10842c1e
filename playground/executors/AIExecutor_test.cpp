#include "model/steps/StepAdd.h"
#include "model/steps/StepDistribute.h"
#include "platform/core/Random.h"
#include "playground/DrawingView.h"
#include "playground/Playground.h"
#include "playground/executors/AIExecutor.h"
#include "playground/executors/QVStraightPath.h"
#include "playground/executors/TouchCircleView.h"
#include "playground/executors/testing/ExecutorStage.h"

#include <cmath>
#include <deque>
#include <functional>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

// A player whose moves the test gives. Every choice of a move is noted with its time, and every move
// the player makes with its kind; the test's next gesture, if any, is then built (without one, a short
// pause ends the move, until `maxMoves`).
class ScriptedExecutor : public AIExecutor {
public:
    using AIExecutor::addPathToQueue;
    using AIExecutor::AIExecutor;
    using AIExecutor::animateStep;
    using AIExecutor::beginGesture;
    using AIExecutor::dragAlongPath;
    using AIExecutor::endGesture;
    using AIExecutor::finalCall;
    using AIExecutor::moveStraightToPoint;
    using AIExecutor::tapPoint;

    struct Move {
        std::string kind;
        double time;
    };

    std::function<double()> now;
    std::deque<std::function<void(ScriptedExecutor&)>> gestures;
    std::vector<double> choices;
    std::vector<Move> played;
    size_t maxMoves = 1;

protected:
    void findNextStep() override {
        choices.push_back(now());
        AIExecutor::findNextStep();
    }
    void progressStep() override {
        AIExecutor::progressStep();
        play("progress");
    }
    void mixStep() override {
        AIExecutor::mixStep();
        play("mix");
    }
    void failStep() override {
        AIExecutor::failStep();
        play("fail");
    }
    bool isExprDone() const override { return false; }

private:
    void play(const std::string& kind) {
        played.push_back({kind, now()});
        if (!gestures.empty()) {
            auto gesture = std::move(gestures.front());
            gestures.pop_front();
            gesture(*this);
        } else if (played.size() < maxMoves) {
            beginGesture();
            delay(0.1);
            finalCall();
            endGesture();
        }
    }
};

// A playground that only notes the touches it gets, and when.
class RecordingPlayground : public Playground {
public:
    RecordingPlayground(PlaygroundView& view, std::function<double()> now)
        : Playground(view)
        , m_now(std::move(now)) {}

    void touchBegan(core::Point point) override { note("down", point); }
    bool touchMoved(core::Point point) override {
        note("move", point);
        return true;
    }
    bool touchEnded(core::Point point) override {
        note("up", point);
        return true;
    }

    struct Touch {
        std::string kind;
        core::Point point;
        double time;
    };
    std::vector<Touch> touches;

    int count(const std::string& kind) const {
        return int(std::ranges::count_if(touches, [&](const Touch& touch) { return touch.kind == kind; }));
    }
    const Touch* first(const std::string& kind) const {
        auto found = std::ranges::find_if(touches, [&](const Touch& touch) { return touch.kind == kind; });
        return found == touches.end() ? nullptr : &*found;
    }

private:
    void note(const std::string& kind, core::Point point) { touches.push_back({kind, point, m_now()}); }

    std::function<double()> m_now;
};

class AIExecutorTest : public ::testing::Test {
protected:
    AIExecutorTest() {
        stage.start("1+2");
        recorder =
            std::make_shared<RecordingPlayground>(*stage.playgroundView, [this] { return stage.host.now(); });
        stage.playgroundView->setModalPlayground(recorder);
    }

    std::shared_ptr<ScriptedExecutor> makeExecutor(bool withRestingView = false) {
        auto executor = stage.makeExecutor<ScriptedExecutor>(withRestingView);
        executor->now = [this] { return stage.host.now(); };
        return executor;
    }

    // The time between the first two choices of a move, the first one playing `gesture`.
    double gestureLength(const std::function<void(ScriptedExecutor&)>& gesture) {
        auto executor = makeExecutor();
        executor->maxMoves = 2;
        executor->gestures.push_back(gesture);
        executor->startFindingSteps();
        stage.host.advance(10);
        EXPECT_GE(executor->choices.size(), 2u);
        return executor->choices.size() >= 2 ? executor->choices[1] - executor->choices[0] : 0;
    }

    ExecutorStage stage;
    std::shared_ptr<RecordingPlayground> recorder;
};

// A point of the playground view that lies `distance` from the container's origin, where a finger
// without a resting view starts.
core::Point atDistance(float distance) {
    return {distance - ExecutorStage::kPlaygroundOrigin.x, -ExecutorStage::kPlaygroundOrigin.y};
}

TEST_F(AIExecutorTest, TheFingerMovesAt142PointsASecondAndNeverFasterThanAQuarterSecond) {
    const struct {
        float distance;
        double seconds;
    } moves[] = {{0, 0.25}, {10, 0.25}, {35.5f, 0.25}, {71, 0.5}, {142, 1.0}, {284, 2.0}};
    for (const auto& move : moves) {
        SCOPED_TRACE(move.distance);
        const double length = gestureLength([&](ScriptedExecutor& executor) {
            executor.beginGesture();
            executor.moveStraightToPoint(atDistance(move.distance));
            executor.finalCall();
            executor.endGesture();
        });
        EXPECT_NEAR(length, move.seconds, 1e-6);
    }
}

TEST_F(AIExecutorTest, ATapPressesAfterItsMoveLiftsHalfASecondLaterAndWaitsHalfASecondMore) {
    const core::Point point = atDistance(142);
    const double start = stage.host.now();
    const double length = gestureLength([&](ScriptedExecutor& executor) { executor.tapPoint(point); });
    EXPECT_NEAR(length, 1.0 + 1.5, 1e-6);
    ASSERT_EQ(recorder->touches.size(), 2u);
    EXPECT_EQ(recorder->touches[0].kind, "down");
    EXPECT_NEAR(recorder->touches[0].time - start, 1.5, 1e-6);
    EXPECT_EQ(recorder->touches[0].point, point) << "touches are in the playground view's coordinates";
    EXPECT_EQ(recorder->touches[1].kind, "up");
    EXPECT_NEAR(recorder->touches[1].time - start, 2.0, 1e-6);
}

TEST_F(AIExecutorTest, TheFingerGlidesInVisibleAndStandsWhereTheTouchIsInTheContainer) {
    auto executor = makeExecutor();
    // 28 points from the corner: a quarter-second move.
    const core::Point point{20, -20};
    executor->gestures.push_back([&](ScriptedExecutor& player) { player.tapPoint(point); });
    executor->startFindingSteps();
    const TouchCircleView& finger = *executor->indicatorView();
    EXPECT_EQ(finger.superview(), stage.container.get());
    EXPECT_EQ(finger.alpha(), 0) << "invisible before its first move";
    EXPECT_EQ(finger.center(), (core::Point{0, 0})) << "without a resting view: the container's corner";
    EXPECT_EQ(executor->currentPoint(), (core::Point{20, 20})) << "where the gesture takes it";
    stage.host.advance(0.3);
    EXPECT_EQ(finger.alpha(), 1);
    EXPECT_EQ(finger.center(), (core::Point{20, 20}));
    EXPECT_FALSE(finger.touchedDown());
    stage.host.advance(0.5);
    EXPECT_TRUE(finger.touchedDown()) << "pressed";
    stage.host.advance(0.5);
    EXPECT_FALSE(finger.touchedDown()) << "lifted";
}

TEST_F(AIExecutorTest, ADragPressesMovesAPointAtATimeAtTheFingersSpeedAndLifts) {
    const QVStraightPath path({100, 100}, {100 + 142, 100});
    const double start = stage.host.now();
    const double length = gestureLength([&](ScriptedExecutor& executor) { executor.dragAlongPath(path, 0); });
    // The move to the start, the pause after the press, the path, the pause after the lift.
    const double travel = std::hypot(100.0, 140.0) / 142;
    EXPECT_NEAR(length, travel + 0.5 + 1.0 + 0.5, 0.02);
    const int moves = recorder->count("move");
    EXPECT_GE(moves, 142);
    EXPECT_LE(moves, 143);
    ASSERT_TRUE(recorder->first("down") && recorder->first("move") && recorder->first("up"));
    EXPECT_EQ(recorder->first("down")->point, path.startPoint());
    EXPECT_NEAR(recorder->first("down")->time - start, travel, 1e-6);
    EXPECT_EQ(recorder->first("move")->point, path.startPoint());
    EXPECT_NEAR(recorder->touches[recorder->touches.size() - 2].point.x, path.endPoint().x, 1.01f);
    EXPECT_EQ(recorder->touches.back().kind, "up");
    EXPECT_EQ(recorder->touches.back().point, path.endPoint());
}

TEST_F(AIExecutorTest, APathShorterThanAPointPlaysBothItsEnds) {
    const QVStraightPath path({100, 100}, {100.5f, 100});
    const double length = gestureLength([&](ScriptedExecutor& executor) { executor.dragAlongPath(path, 0); });
    EXPECT_TRUE(std::isfinite(length));
    ASSERT_EQ(recorder->count("move"), 2);
    EXPECT_EQ(recorder->touches[1].point, path.startPoint());
    EXPECT_EQ(recorder->touches[2].point, path.endPoint());
}

TEST_F(AIExecutorTest, TheRestOfATouchGoesNowhereOnceThePressedPlaygroundIsNoLongerOnTop) {
    // Over a fraction, a move the main playground got would start a drawn line.
    stage.start("2x/2");
    const QVStraightPath path({100, 100}, {100 + 142, 100});
    const struct {
        const char* name;
        bool anotherModal;
    } cases[] = {{"the modal playground closes", false}, {"another modal playground opens", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto pressed =
            std::make_shared<RecordingPlayground>(*stage.playgroundView, [this] { return stage.host.now(); });
        auto other =
            std::make_shared<RecordingPlayground>(*stage.playgroundView, [this] { return stage.host.now(); });
        stage.playgroundView->setModalPlayground(pressed);
        auto executor = makeExecutor();
        executor->gestures.push_back([&](ScriptedExecutor& player) { player.dragAlongPath(path, 0); });
        executor->startFindingSteps();
        // The move to the start takes 1.2 s and the press rests 0.5 s: halfway along the path.
        stage.host.advance(2.2);
        const int movesBefore = pressed->count("move");
        ASSERT_GT(movesBefore, 20);
        ASSERT_LT(movesBefore, 120);
        stage.playgroundView->setModalPlayground(c.anotherModal ? other : nullptr);
        stage.host.advance(3);

        EXPECT_EQ(pressed->count("move"), movesBefore);
        EXPECT_EQ(pressed->count("up"), 0);
        EXPECT_TRUE(other->touches.empty());
        EXPECT_FALSE(stage.playgroundView->drawingView()->isDisplayed());
        EXPECT_EQ(stage.text(), "2x / 2");
        EXPECT_EQ(executor->choices.size(), 2u) << "the gesture played to its end";
    }
}

TEST_F(AIExecutorTest, ATapThatOpensTheDistributionPlaygroundWaitsOneAndAHalfSecondsLonger) {
    // 3 * (x + 2), tapped at its "*".
    stage.playgroundView->setModalPlayground(nullptr);
    stage.start("3*(x+2)");
    const OperatorPtr times = MoveFinder(stage.expr()).timesOps().front();
    auto step = StepDistribute::stepDistributeFromTimes(std::static_pointer_cast<OpTimes>(times));
    ASSERT_TRUE(step);
    // The "*" is tapped at its centre; the finger comes from the container's corner.
    const core::Point sign =
        stage.main().mainExprView()->viewWithOp(times.get())->getPointAtPosition(AnchorCenter);
    const float travel =
        std::hypot(sign.x + ExecutorStage::kPlaygroundOrigin.x, sign.y + ExecutorStage::kPlaygroundOrigin.y);
    const double length = gestureLength([&](ScriptedExecutor& executor) { executor.animateStep(step); });
    EXPECT_NEAR(length, std::max(0.25, travel / 142.0) + 1.5 + 1.5, 1e-4);
    EXPECT_TRUE(stage.playgroundView->modalVisible()) << "the tap opened the distribution playground";
}

TEST_F(AIExecutorTest, CancellingDropsWhatHasNotStartedAndTheFingerFliesHome) {
    auto executor = makeExecutor(true);
    executor->gestures.push_back([](ScriptedExecutor& player) { player.tapPoint({300, 300}); });
    executor->startFindingSteps();
    const TouchCircleView& finger = *executor->indicatorView();
    const core::Point home = stage.restingView->center();
    EXPECT_EQ(finger.center(), home) << "the finger starts on the resting view";
    stage.host.advance(1.0);
    stage.restingView->setAlpha(0.5f);
    executor->cancelAnimations();
    EXPECT_FALSE(executor->operational());
    EXPECT_EQ(finger.superview(), stage.container.get()) << "still flying home";
    stage.host.advance(0.9);
    EXPECT_EQ(finger.superview(), stage.container.get());
    stage.host.advance(0.2);
    EXPECT_EQ(finger.superview(), nullptr);
    EXPECT_EQ(finger.center(), home);
    EXPECT_EQ(finger.alpha(), 0);
    EXPECT_EQ(stage.restingView->alpha(), 1);
    stage.host.advance(5);
    EXPECT_EQ(recorder->count("down") + recorder->count("up"), 0) << "the press never came";
    EXPECT_EQ(executor->played.size(), 1u) << "no move chosen after the cancel";
}

TEST_F(AIExecutorTest, WithoutARestingViewTheFingerVanishesAtOnce) {
    auto executor = makeExecutor(false);
    executor->gestures.push_back([](ScriptedExecutor& player) { player.tapPoint({300, 300}); });
    executor->startFindingSteps();
    stage.host.advance(1.0);
    executor->cancelAnimations();
    EXPECT_EQ(executor->indicatorView()->superview(), nullptr);
}

TEST_F(AIExecutorTest, StartingTwiceDoesNothingAndAStoppedPlayerStartsAgainWithItsFinger) {
    auto executor = makeExecutor(true);
    executor->startFindingSteps();
    executor->startFindingSteps();
    EXPECT_EQ(executor->played.size(), 1u);
    const std::shared_ptr<TouchCircleView> finger = executor->indicatorView();

    // Started again while flying home: the finger stays in the container and plays on.
    executor->cancelAnimations();
    stage.host.advance(0.3);
    executor->maxMoves = 3;
    executor->startFindingSteps();
    EXPECT_EQ(executor->played.size(), 2u);
    stage.host.advance(3);
    EXPECT_EQ(executor->played.size(), 3u);
    EXPECT_EQ(executor->indicatorView(), finger);
    EXPECT_EQ(finger->superview(), stage.container.get());

    // Started again once it has left: it is put back on its resting place.
    executor->cancelAnimations();
    stage.host.advance(2);
    ASSERT_EQ(finger->superview(), nullptr);
    finger->setCenter({500, 500});
    executor->startFindingSteps();
    EXPECT_EQ(finger->superview(), stage.container.get());
    EXPECT_EQ(finger->center(), stage.restingView->center());
}

TEST_F(AIExecutorTest, APlayerReplacedWhileItsFingerFliesHomeTakesTheFingerAway) {
    auto executor = makeExecutor(true);
    executor->startFindingSteps();
    const std::shared_ptr<TouchCircleView> finger = executor->indicatorView();
    executor->cancelAnimations();
    stage.host.advance(0.3);
    // Help pressed again: a new player takes the view.
    makeExecutor(true);
    executor.reset();
    EXPECT_EQ(finger->superview(), nullptr);
    stage.host.advance(2);
    EXPECT_EQ(finger->superview(), nullptr);
}

TEST_F(AIExecutorTest, TheFirstMoveAndEveryMoveAfterAMixOrAFailAreProgressMoves) {
    // The draws pick, by their lowest two bits: 1 mix, 0 fail, 2 and 3 progress.
    core::ScopedRandomSource draws(core::makeScriptedRandom({1, 2, 0, 3, 5}));
    auto executor = makeExecutor();
    executor->maxMoves = 8;
    executor->startFindingSteps();
    stage.host.advance(5);
    std::vector<std::string> kinds;
    for (const auto& move : executor->played)
        kinds.push_back(move.kind);
    EXPECT_EQ(kinds, (std::vector<std::string>{"progress", "mix", "progress", "progress", "fail", "progress",
                                               "progress", "mix"}));
}

TEST_F(AIExecutorTest, APlayerThatGoesAwayLeavesItsGestureUnplayed) {
    auto executor = makeExecutor();
    executor->gestures.push_back([](ScriptedExecutor& player) { player.tapPoint({300, 300}); });
    executor->startFindingSteps();
    stage.playgroundView->setExecutor(nullptr);
    executor.reset();
    stage.host.advance(5);
    EXPECT_TRUE(recorder->touches.empty());
}

TEST(TouchCircleView, IsSizedForTheDeviceAndDarkUntilItPresses) {
    {
        ExecutorStage phone(ui::Idiom::Phone);
        EXPECT_EQ(TouchCircleView::create()->frame().size, (core::Size{30, 30}));
    }

    ExecutorStage tablet;
    auto finger = TouchCircleView::create();
    EXPECT_EQ(finger->frame().size, (core::Size{50, 50}));
    finger->setCenter({100, 100});
    tablet.container->addSubview(finger);
    const auto brightness = [&] {
        const auto picture = tablet.host.screenshot();
        const gfx::Pixel pixel = picture->bitmap().pixel(100, 100);
        return pixel.red + pixel.green + pixel.blue;
    };
    const int hovering = brightness();
    finger->setTouchedDown(true);
    const int pressing = brightness();
    EXPECT_LT(hovering, 3 * 40) << "a faint dark disc over the black window";
    EXPECT_GT(pressing, 3 * 150) << "a white disc";
    finger->setTouchedDown(false);
    const auto picture = tablet.host.screenshot();
    int ring = 0;
    for (int x = 100 + 20; x <= 100 + 26; ++x)
        ring = std::max(ring, int(picture->bitmap().pixel(x, 100).red));
    EXPECT_GT(ring, 80) << "the white ring, half a point each side of radius 24";
}

} // namespace
} // namespace zm
