#include "platform/ui/Animation.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace ui {
namespace {

using Phase = Animation::Progress::Phase;

Animation plain(double duration, double repeatCount = 0, bool autoreverses = false) {
    return Animation::basic(LayerProperty::Opacity, 0.0f, 1.0f)
        .setDuration(duration)
        .setRepeatCount(repeatCount)
        .setAutoreverses(autoreverses);
}

TEST(Animation, ProgressFollowsRepeatsAndReversal) {
    struct Case {
        double repeatCount;
        bool autoreverses;
        double elapsed;
        Phase phase;
        double fraction;
    };
    // A linear 0.1 s animation.
    const Case cases[] = {
        {0, false, 0.05, Phase::Running, 0.5}, {0, false, 0.1, Phase::Over, 1},
        {2, false, 0.15, Phase::Running, 0.5}, {0, true, 0.15, Phase::Running, 0.5}, // on the way back
        {0, true, 0.2, Phase::Over, 0}, // there and back ends where it began
        {1, true, 0.2, Phase::Over, 0},        {1.5, true, 0.25, Phase::Running, 0.5}, // forwards again
        {1.5, true, 0.3, Phase::Over, 1},     // one and a half runs end at the far end
        {1.5, false, 0.15, Phase::Over, 0.5}, // half a run stops halfway
        {2, true, 0.4, Phase::Over, 0},
    };
    for (const Case& c : cases) {
        const Animation::Progress progress = plain(0.1, c.repeatCount, c.autoreverses).progressAt(c.elapsed);
        EXPECT_EQ(progress.phase, c.phase) << c.repeatCount << " " << c.autoreverses << " at " << c.elapsed;
        EXPECT_NEAR(progress.fraction, c.fraction, 1e-9)
            << c.repeatCount << " " << c.autoreverses << " at " << c.elapsed;
    }
}

TEST(Animation, DurationOfRepeats) {
    EXPECT_DOUBLE_EQ(plain(0.1, 1.5, true).activeDuration(), 0.3);
    EXPECT_DOUBLE_EQ(plain(0.5, 0, true).activeDuration(), 1.0);
    EXPECT_DOUBLE_EQ(plain(0.4).activeDuration(), 0.4);
    EXPECT_TRUE(std::isinf(plain(0.5, std::numeric_limits<double>::infinity()).activeDuration()));
    EXPECT_EQ(plain(0.5, std::numeric_limits<double>::infinity()).progressAt(1e6).phase, Phase::Running);
}

TEST(Animation, DelayAndFillDecideWhatShows) {
    Animation animation = plain(1).setDelay(0.5);
    EXPECT_EQ(animation.progressAt(0.2).phase, Phase::Waiting);
    EXPECT_FALSE(animation.showsValue(animation.progressAt(0.2)));
    EXPECT_FALSE(animation.showsValue(animation.progressAt(2)));
    animation.setFillMode(FillMode::Both);
    EXPECT_TRUE(animation.showsValue(animation.progressAt(0.2)));
    EXPECT_TRUE(animation.showsValue(animation.progressAt(2)));
    EXPECT_NEAR(animation.progressAt(1.0).fraction, 0.5, 1e-9);
}

TEST(Animation, ZeroDurationIsOverAtOnce) {
    const Animation::Progress progress = plain(0).progressAt(0);
    EXPECT_EQ(progress.phase, Phase::Over);
    EXPECT_EQ(progress.fraction, 1);
}

TEST(Animation, KeyframesBlendBetweenTheirTimes) {
    const Animation animation = Animation::keyframes(LayerProperty::Opacity, {0.0f, 1.0f, 0.5f}, {0, 0.8, 1});
    EXPECT_FLOAT_EQ(std::get<float>(animation.valueAt(0.4)), 0.5f);
    EXPECT_FLOAT_EQ(std::get<float>(animation.valueAt(0.8)), 1.0f);
    EXPECT_FLOAT_EQ(std::get<float>(animation.valueAt(0.9)), 0.75f);
    // Without key times the values are spread evenly.
    const Animation even = Animation::keyframes(LayerProperty::Opacity, {0.0f, 1.0f, 0.0f});
    EXPECT_FLOAT_EQ(std::get<float>(even.valueAt(0.25)), 0.5f);
}

TEST(Animation, PacedKeyframesMoveAtOneSpeed) {
    // 10 points, then 30: a quarter of the time covers the first leg.
    const Animation animation =
        Animation::keyframes(LayerProperty::Position,
                             {core::Point{0, 0}, core::Point{10, 0}, core::Point{10, 30}})
            .setCalculationMode(CalculationMode::Paced);
    EXPECT_EQ(std::get<core::Point>(animation.valueAt(0.25)), (core::Point{10, 0}));
    EXPECT_EQ(std::get<core::Point>(animation.valueAt(0.625)), (core::Point{10, 15}));
}

TEST(Animation, PathAnimationFollowsThePathByLength) {
    gfx::Path path;
    path.moveTo({0, 0});
    path.lineTo({100, 0});
    path.lineTo({100, 100});
    const Animation animation = Animation::alongPath(path);
    EXPECT_EQ(animation.property(), LayerProperty::Position);
    const auto at = [&](double fraction) { return std::get<core::Point>(animation.valueAt(fraction)); };
    EXPECT_NEAR(at(0).x, 0, 1e-3);
    EXPECT_NEAR(at(0.25).x, 50, 1e-3);
    EXPECT_NEAR(at(0.75).y, 50, 1e-3);
    EXPECT_NEAR(at(1).y, 100, 1e-3);
}

TEST(Animation, ResolvingFillsOnlyMissingEnds) {
    const Animation open = Animation::basic(LayerProperty::Opacity);
    const Animation resolved = open.resolved(0.25f, 0.75f);
    EXPECT_FLOAT_EQ(std::get<float>(resolved.valueAt(0)), 0.25f);
    EXPECT_FLOAT_EQ(std::get<float>(resolved.valueAt(1)), 0.75f);
    const Animation given = Animation::basic(LayerProperty::Opacity, 0.0f, 1.0f).resolved(0.25f, 0.75f);
    EXPECT_FLOAT_EQ(std::get<float>(given.valueAt(0)), 0.0f);
}

} // namespace
} // namespace ui
