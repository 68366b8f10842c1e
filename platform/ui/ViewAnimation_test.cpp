#include "platform/ui/UiTesting.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewAnimation.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace ui {
namespace {

class ViewAnimationTest : public testing::AnimationFixture {
protected:
    float presentedX() const { return view->presentation().position.x; }

    // Records completions in the order they run.
    std::function<void(bool)> record(std::string name) {
        return [this, name](bool finished) { log.push_back(name + (finished ? " finished" : " stopped")); };
    }

    std::shared_ptr<View> view = View::create({0, 0, 20, 20}); // centred on (10, 10)
    std::vector<std::string> log;
};

TEST_F(ViewAnimationTest, AMoveSampledAtSixtyFramesASecond) {
    const double start = now();
    animate(
        {.duration = 0.4},
        [&] {
            view->setCenter({110, 10});
        },
        record("move"));
    // The model takes the new value at once; the screen follows the ease-in-out curve frame by frame.
    EXPECT_EQ(view->center(), (core::Point{110, 10}));
    EXPECT_FLOAT_EQ(presentedX(), 10);
    const TimingFunction curve = TimingFunction::easeInOut();
    for (int frame = 1; frame <= 24; ++frame) {
        advance(1.0 / 60);
        const double share = std::min((now() - start) / 0.4, 1.0);
        EXPECT_NEAR(presentedX(), 10 + 100 * curve.valueAt(share), 1e-3) << "frame " << frame;
        EXPECT_TRUE(log.empty()) << "frame " << frame;
    }
    advance(1.0 / 60);
    EXPECT_FLOAT_EQ(presentedX(), 110);
    EXPECT_EQ(log, (std::vector<std::string>{"move finished"}));
    EXPECT_FALSE(view->layer().hasAnimations());
}

TEST_F(ViewAnimationTest, ANewAnimationReplacesTheOneInFlight) {
    animate(
        {.duration = 1, .curve = AnimationCurve::Linear},
        [&] {
            view->setCenter({110, 10});
        },
        record("first"));
    advance(0.5);
    EXPECT_NEAR(presentedX(), 60, 0.01);
    animate(
        {.duration = 1, .options = AnimationOptions::BeginFromCurrentState, .curve = AnimationCurve::Linear},
        [&] {
            view->setCenter({0, 10});
        },
        record("second"));
    // From where it is on screen, back to 0.
    EXPECT_NEAR(presentedX(), 60, 0.01);
    advance(0.5);
    EXPECT_NEAR(presentedX(), 30, 0.01);
    EXPECT_EQ(log, (std::vector<std::string>{"first stopped"}));
    advance(0.6);
    EXPECT_EQ(log, (std::vector<std::string>{"first stopped", "second finished"}));
}

TEST_F(ViewAnimationTest, WithoutCurrentStateAReplacementStartsFromTheTarget) {
    animate({.duration = 1, .curve = AnimationCurve::Linear}, [&] { view->setCenter({110, 10}); });
    advance(0.5);
    animate({.duration = 1, .curve = AnimationCurve::Linear}, [&] { view->setCenter({10, 10}); });
    EXPECT_NEAR(presentedX(), 110, 0.01);
    advance(0.5);
    EXPECT_NEAR(presentedX(), 60, 0.01);
}

TEST_F(ViewAnimationTest, TheFailShake) {
    // Named, 0.1 s, linear, one and a half runs there and back, from the current state.
    struct Listener : AnimationDelegate {
        void animationDidStop(const std::string& name, bool finished, const std::any& context) override {
            stops.push_back(name + (finished ? " finished" : " stopped") + " " +
                            std::any_cast<std::string>(context));
        }
        std::vector<std::string> stops;
    };
    auto listener = std::make_shared<Listener>();
    beginAnimations("fail", std::string("ctx"));
    setAnimationBeginsFromCurrentState(true);
    setAnimationDuration(0.1);
    setAnimationCurve(AnimationCurve::Linear);
    setAnimationRepeatCount(1.5);
    setAnimationRepeatAutoreverses(true);
    setAnimationDelegate(listener);
    view->setFrame({-20, 0, 20, 20});
    commitAnimations();

    struct Sample {
        double time;
        float x;
    };
    // The centre moves 20 left, back, and left again, where it stays.
    const Sample samples[] = {{0.05, 0}, {0.1, -10}, {0.15, 0},  {0.2, 10},
                              {0.25, 0}, {0.3, -10}, {0.35, -10}};
    double time = 0;
    for (const Sample& sample : samples) {
        advance(sample.time - time);
        time = sample.time;
        EXPECT_NEAR(presentedX(), sample.x, 0.01) << sample.time;
    }
    EXPECT_EQ(listener->stops, (std::vector<std::string>{"fail finished ctx"}));
}

TEST_F(ViewAnimationTest, WholeRunsThereAndBackEndAtTheModelValue) {
    animate({.duration = 0.1,
             .options = AnimationOptions::Autoreverse,
             .curve = AnimationCurve::Linear,
             .repeatCount = 1},
            [&] {
                view->setCenter({110, 10});
            });
    advance(0.1);
    EXPECT_NEAR(presentedX(), 110, 0.01);
    advance(0.05);
    EXPECT_NEAR(presentedX(), 60, 0.01);
    // Back where it began when the run ends, then the model value shows.
    advance(0.1);
    EXPECT_FLOAT_EQ(presentedX(), 110);
}

TEST_F(ViewAnimationTest, RepeatingForeverNeverCompletes) {
    animate(
        {.duration = 0.5, .options = AnimationOptions::Repeat | AnimationOptions::Autoreverse},
        [&] { view->setAlpha(0.25f); }, record("pulse"));
    advance(10.25);
    EXPECT_NEAR(view->presentation().opacity, 0.625f, 1e-3);
    EXPECT_TRUE(log.empty());
    // Setting the value outside a block ends the pulse.
    view->setAlpha(1);
    settle();
    EXPECT_EQ(log, (std::vector<std::string>{"pulse stopped"}));
    EXPECT_FLOAT_EQ(view->presentation().opacity, 1);
}

TEST_F(ViewAnimationTest, AnInterruptedChangeReportsNotFinished) {
    // A font change that scales first and swaps the font only when the scaling finished.
    bool swapped = false;
    animate(
        {.duration = 0.25,
         .options = AnimationOptions::AllowUserInteraction | AnimationOptions::BeginFromCurrentState},
        [&] { view->setTransform(core::AffineTransform::makeScale(2, 2)); },
        [&](bool finished) {
            if (finished)
                swapped = true;
        });
    advance(0.1);
    view->setTransform(core::AffineTransform::identity());
    advance(0.5);
    EXPECT_FALSE(swapped);
    EXPECT_TRUE(view->presentation().transform.isIdentity());
}

TEST_F(ViewAnimationTest, SettingTheSameValueDirectlyKeepsTheAnimation) {
    animate(
        {.duration = 1},
        [&] {
            view->setCenter({110, 10});
        },
        record("move"));
    advance(0.5);
    view->setCenter({110, 10});
    advance(0.6);
    EXPECT_EQ(log, (std::vector<std::string>{"move finished"}));
}

TEST_F(ViewAnimationTest, ZeroDurationChangesAtOnceAndCompletesLater) {
    animate(
        {.duration = 1},
        [&] {
            view->setCenter({110, 10});
        },
        record("long"));
    advance(0.2);
    animate(
        {.duration = 0},
        [&] {
            view->setCenter({50, 10});
        },
        record("instant"));
    EXPECT_FLOAT_EQ(presentedX(), 50);
    EXPECT_TRUE(log.empty()); // not inside the call
    settle();
    EXPECT_EQ(log, (std::vector<std::string>{"long stopped", "instant finished"}));
}

TEST_F(ViewAnimationTest, ABlockWithoutChangesStillTakesItsDuration) {
    animate(
        {.duration = 0.5}, [] {}, record("empty"));
    advance(0.49);
    EXPECT_TRUE(log.empty());
    advance(0.02);
    EXPECT_EQ(log, (std::vector<std::string>{"empty finished"}));
}

TEST_F(ViewAnimationTest, NestedBlocksTakeTheOuterTiming) {
    auto other = View::create({0, 0, 20, 20});
    animate(
        {.duration = 0.4},
        [&] {
            view->setCenter({110, 10});
            animate(
                {.duration = 0.1}, [&] { other->setAlpha(0); }, record("inner"));
        },
        record("outer"));
    advance(0.2);
    EXPECT_NEAR(other->presentation().opacity, 0.5, 0.01);
    advance(0.21);
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log, (std::vector<std::string>{"inner finished", "outer finished"}));
}

TEST_F(ViewAnimationTest, DelayShowsTheOldValueFirst) {
    animate(
        {.duration = 0.2, .delay = 0.3, .curve = AnimationCurve::Linear},
        [&] {
            view->setCenter({110, 10});
        },
        record("late"));
    advance(0.2);
    EXPECT_FLOAT_EQ(presentedX(), 10);
    advance(0.2);
    EXPECT_NEAR(presentedX(), 60, 0.01);
    advance(0.11);
    EXPECT_EQ(log, (std::vector<std::string>{"late finished"}));
}

TEST_F(ViewAnimationTest, SwitchedOffAnimationsChangeAtOnce) {
    setAnimationsEnabled(false);
    animate(
        {.duration = 1},
        [&] {
            view->setCenter({110, 10});
        },
        record("off"));
    setAnimationsEnabled(true);
    EXPECT_FLOAT_EQ(presentedX(), 110);
    settle();
    EXPECT_EQ(log, (std::vector<std::string>{"off finished"}));

    animate({.duration = 1}, [&] { performWithoutAnimation([&] { view->setCenter({0, 10}); }); });
    EXPECT_FLOAT_EQ(presentedX(), 0);
    EXPECT_TRUE(areAnimationsEnabled());
}

TEST_F(ViewAnimationTest, OverlappingSettlesCompleteOneByOne) {
    // The playground counts its running settles and reports once, after the last.
    int running = 0;
    int reports = 0;
    auto settleTo = [&](float x) {
        animate(
            {.duration = 0.4,
             .options = AnimationOptions::AllowUserInteraction | AnimationOptions::BeginFromCurrentState},
            [&, x] {
                view->setCenter({x, 10});
                ++running;
            },
            [&](bool) {
                if (--running == 0)
                    ++reports;
            });
    };
    settleTo(100);
    advance(0.2);
    settleTo(200);
    advance(0.5);
    EXPECT_EQ(running, 0);
    EXPECT_EQ(reports, 1);
}

TEST_F(ViewAnimationTest, RemovingAViewStopsItsAnimationsUnfinished) {
    auto parent = View::create({0, 0, 100, 100});
    auto child = View::create({0, 0, 10, 10});
    parent->addSubview(view);
    view->addSubview(child);
    animate(
        {.duration = 1}, [&] { child->setAlpha(0); }, record("fade"));
    advance(0.3);
    view->removeFromSuperview();
    settle();
    EXPECT_EQ(log, (std::vector<std::string>{"fade stopped"}));
    EXPECT_FALSE(child->layer().hasAnimations());
}

TEST_F(ViewAnimationTest, AnimatingViewsTakeTouchesOnlyWhenAllowed) {
    auto root = View::create({0, 0, 100, 100});
    root->addSubview(view);
    animate({.duration = 0.4}, [&] { view->setAlpha(0.5f); });
    EXPECT_EQ(root->hitTest({10, 10}, nullptr), root.get());
    advance(0.5);
    EXPECT_EQ(root->hitTest({10, 10}, nullptr), view.get());
    animate({.duration = 0.4, .options = AnimationOptions::AllowUserInteraction}, [&] { view->setAlpha(1); });
    EXPECT_EQ(root->hitTest({10, 10}, nullptr), view.get());
}

TEST_F(ViewAnimationTest, FrameChangesAnimateCentreAndSize) {
    animate({.duration = 1, .curve = AnimationCurve::Linear}, [&] { view->setFrame({100, 100, 40, 60}); });
    advance(0.5);
    const core::Rect frame = view->presentationFrame();
    EXPECT_NEAR(frame.minX(), 50, 0.01);
    EXPECT_NEAR(frame.minY(), 50, 0.01);
    EXPECT_NEAR(frame.width(), 30, 0.01);
    EXPECT_NEAR(frame.height(), 40, 0.01);
}

TEST_F(ViewAnimationTest, KeyframesBuildOnEachOther) {
    // The slide of a solved problem: shrink and rise, rise a little more, then leave at full size.
    const float h = 100;
    animateKeyframes(
        {.duration = 1}, KeyframeCurve::Cubic,
        [&] {
            addKeyframe(0, 0.4, [&] {
                view->setTransform(view->transform().translated(0, -0.2f * h).scaled(0.3f, 0.3f));
            });
            addKeyframe(0.4, 0.2, [&] { view->setTransform(view->transform().translated(0, -0.2f * h)); });
            addKeyframe(0.6, 0.4, [&] { view->setTransform(core::AffineTransform::makeTranslation(0, -h)); });
        },
        record("slide"));
    struct Sample {
        double time;
        float scale;
        float ty;
    };
    const Sample samples[] = {{0.4, 0.3f, -20}, {0.6, 0.3f, -26}, {1.0, 1, -100}};
    double time = 0;
    for (const Sample& sample : samples) {
        advance(sample.time - time);
        time = sample.time;
        const core::AffineTransform t = view->presentation().transform;
        EXPECT_NEAR(t.a, sample.scale, 1e-3) << sample.time;
        EXPECT_NEAR(t.ty, sample.ty, 1e-2) << sample.time;
    }
    advance(0.02);
    EXPECT_EQ(log, (std::vector<std::string>{"slide finished"}));
}

TEST_F(ViewAnimationTest, ARepeatingQuarterTurn) {
    const float quarter = std::numbers::pi_v<float> / 2;
    animate({.duration = 3,
             .options = AnimationOptions::Repeat | AnimationOptions::BeginFromCurrentState,
             .curve = AnimationCurve::Linear},
            [&] { view->setTransform(view->transform().rotated(quarter)); });
    for (int run = 0; run < 3; ++run) {
        advance(1.5);
        const core::AffineTransform t = view->presentation().transform;
        EXPECT_NEAR(std::atan2(t.b, t.a), quarter / 2, 1e-3);
        advance(1.5);
    }
}

// Without an engine every kind of block changes at once; completions wait for the loop's next turn.
TEST(ViewAnimationWithoutAnEngine, ChangesAtOnceAndCompletesOnTheNextTurn) {
    core::MainLoop loop{std::make_shared<core::ManualClock>()};
    auto view = View::create({0, 0, 20, 20});
    std::vector<std::string> log;
    auto record = [&](std::string name) {
        return [&log, name](bool finished) { log.push_back(name + (finished ? " finished" : " stopped")); };
    };

    animate(
        {.duration = 1},
        [&] {
            view->setCenter({110, 10});
        },
        record("block"));
    animateKeyframes(
        {.duration = 1}, KeyframeCurve::Linear, [&] { addKeyframe(0, 0.5, [&] { view->setAlpha(0.5f); }); },
        record("keyframes"));
    beginAnimations("named");
    setAnimationDuration(2);
    view->setTransform(core::AffineTransform::makeScale(2, 2));
    commitAnimations();
    transition(*View::create(), View::create(), {}, {}, record("orphan transition"));
    EXPECT_EQ(view->presentation().position, (core::Point{110, 10}));
    EXPECT_FLOAT_EQ(view->presentation().opacity, 0.5f);
    EXPECT_EQ(view->presentation().transform, core::AffineTransform::makeScale(2, 2));
    EXPECT_FALSE(areAnimationsEnabled());
    EXPECT_TRUE(log.empty());
    loop.runUntilIdle();
    EXPECT_EQ(
        log, (std::vector<std::string>{"block finished", "keyframes finished", "orphan transition stopped"}));
}

} // namespace
} // namespace ui
