#include "platform/ui/TimingFunction.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(TimingFunction, CurvesPassTheirKnownValues) {
    struct Case {
        AnimationCurve curve;
        double time;
        double value;
    };
    // Values of the cubic Bézier curves (0.42, 0, 1, 1), (0, 0, 0.58, 1) and (0.42, 0, 0.58, 1).
    const Case cases[] = {
        {AnimationCurve::Linear, 0.3, 0.3},        {AnimationCurve::EaseIn, 0.5, 0.3153},
        {AnimationCurve::EaseIn, 0.25, 0.0934},    {AnimationCurve::EaseOut, 0.5, 0.6847},
        {AnimationCurve::EaseOut, 0.75, 0.9066},   {AnimationCurve::EaseInOut, 0.5, 0.5},
        {AnimationCurve::EaseInOut, 0.25, 0.1291}, {AnimationCurve::EaseInOut, 0.75, 0.8709},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(TimingFunction::forCurve(c.curve).valueAt(c.time), c.value, 5e-4)
            << int(c.curve) << " at " << c.time;
    }
}

TEST(TimingFunction, EndsAreExactAndTimeIsClamped) {
    for (const AnimationCurve curve : {AnimationCurve::Linear, AnimationCurve::EaseIn,
                                       AnimationCurve::EaseOut, AnimationCurve::EaseInOut}) {
        const TimingFunction timing = TimingFunction::forCurve(curve);
        EXPECT_NEAR(timing.valueAt(0), 0, 1e-9);
        EXPECT_NEAR(timing.valueAt(1), 1, 1e-9);
        EXPECT_NEAR(timing.valueAt(-2), 0, 1e-9);
        EXPECT_NEAR(timing.valueAt(7), 1, 1e-9);
    }
}

TEST(TimingFunction, EaseInOutRisesMonotonically) {
    const TimingFunction timing = TimingFunction::easeInOut();
    double previous = 0;
    for (int i = 1; i <= 100; ++i) {
        const double value = timing.valueAt(i / 100.0);
        EXPECT_GE(value, previous);
        previous = value;
    }
}

} // namespace
} // namespace ui
