#include "platform/ui/AnimatableValue.h"

#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

constexpr float pi = std::numbers::pi_v<float>;

void expectTransform(const AnimatableValue& value, const core::AffineTransform& expected) {
    const auto& t = std::get<core::AffineTransform>(value);
    EXPECT_NEAR(t.a, expected.a, 1e-4);
    EXPECT_NEAR(t.b, expected.b, 1e-4);
    EXPECT_NEAR(t.c, expected.c, 1e-4);
    EXPECT_NEAR(t.d, expected.d, 1e-4);
    EXPECT_NEAR(t.tx, expected.tx, 1e-3);
    EXPECT_NEAR(t.ty, expected.ty, 1e-3);
}

TEST(AnimatableValue, PlainValuesBlendComponentwise) {
    EXPECT_EQ(std::get<float>(interpolate(1.0f, 3.0f, 0.25)), 1.5f);
    EXPECT_EQ(std::get<core::Point>(interpolate(core::Point{0, 10}, core::Point{10, 20}, 0.5)),
              (core::Point{5, 15}));
    EXPECT_EQ(std::get<core::Rect>(interpolate(core::Rect(0, 0, 10, 10), core::Rect(10, 20, 30, 40), 0.5)),
              core::Rect(5, 10, 20, 25));
    EXPECT_EQ(std::get<core::Color>(
                  interpolate(core::Color::rgba(0, 0, 0, 0), core::Color::rgba(1, 0.5f, 0, 1), 0.5)),
              core::Color::rgba(0.5f, 0.25f, 0, 0.5f));
}

TEST(AnimatableValue, TransformsTurnRatherThanShrink) {
    // Halfway through a quarter turn is an eighth of a turn, at full size.
    expectTransform(
        interpolate(core::AffineTransform::identity(), core::AffineTransform::makeRotation(pi / 2), 0.5),
        core::AffineTransform::makeRotation(pi / 4));
    // Scale and translation blend on their own.
    expectTransform(interpolate(core::AffineTransform::identity(),
                                core::AffineTransform::makeScale(3, 5).translated(10, 0), 0.5),
                    core::AffineTransform::concat(core::AffineTransform::makeScale(2, 3),
                                                  core::AffineTransform::makeTranslation(15, 0)));
    // From three quarters of a turn to a turn and a quarter goes the short way, through a half turn.
    expectTransform(interpolate(core::AffineTransform::makeRotation(3 * pi / 4),
                                core::AffineTransform::makeRotation(5 * pi / 4), 0.5),
                    core::AffineTransform::makeRotation(pi));
}

TEST(AnimatableValue, MirroredTransformsSurviveTheRoundTrip) {
    const core::AffineTransform mirrored =
        core::AffineTransform::makeScale(-2, 3).rotated(0.3f).translated(4, 5);
    expectTransform(interpolate(mirrored, mirrored, 0.5), mirrored);
}

TEST(AnimatableValue, SmoothBlendPassesThroughEveryValue) {
    const std::vector<AnimatableValue> values{0.0f, 10.0f, 0.0f, 10.0f};
    for (size_t i = 0; i + 1 < values.size(); ++i) {
        EXPECT_FLOAT_EQ(std::get<float>(interpolateSmoothly(values, i, 0)), std::get<float>(values[i]));
        EXPECT_FLOAT_EQ(std::get<float>(interpolateSmoothly(values, i, 1)), std::get<float>(values[i + 1]));
    }
    // The curve overshoots a straight line near a turning point: it is not piecewise linear.
    EXPECT_GT(std::get<float>(interpolateSmoothly(values, 0, 0.9)), 9.0f);
}

TEST(AnimatableValue, DistanceMeasuresTheChange) {
    EXPECT_FLOAT_EQ(distanceBetween(core::Point{0, 0}, core::Point{3, 4}), 5);
    EXPECT_FLOAT_EQ(distanceBetween(2.0f, 2.0f), 0);
}

} // namespace
} // namespace ui
