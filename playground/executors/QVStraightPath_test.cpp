#include "playground/executors/QVCurvedPath.h"
#include "playground/executors/QVStraightPath.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

void expectPoint(core::Point actual, core::Point expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
}

TEST(QVStraightPath, RunsStraightFromStartToEnd) {
    const QVStraightPath path({10, 20}, {40, 60});
    expectPoint(path.pointAtPercentageThrough(0), {10, 20});
    expectPoint(path.pointAtPercentageThrough(0.5f), {25, 40});
    expectPoint(path.pointAtPercentageThrough(1), {40, 60});
    EXPECT_FLOAT_EQ(path.distance(), 50);
}

TEST(QVCurvedPath, BendsAboveByItsHeightOrBelowByTwiceIt) {
    const QVCurvedPath above({0, 100}, {200, 120}, true, 30);
    expectPoint(above.controlPoint(), {100, 70});
    const QVCurvedPath below({0, 100}, {200, 120}, false, 30);
    expectPoint(below.controlPoint(), {100, 160});

    expectPoint(above.pointAtPercentageThrough(0), {0, 100});
    expectPoint(above.pointAtPercentageThrough(1), {200, 120});
    // Halfway: a quarter of each end and half the control point.
    expectPoint(above.pointAtPercentageThrough(0.5f), {100, 0.25f * 100 + 0.5f * 70 + 0.25f * 120});
    expectPoint(below.pointAtPercentageThrough(0.5f), {100, 0.25f * 100 + 0.5f * 160 + 0.25f * 120});
}

TEST(QVCurvedPath, IsPacedByItsChord) {
    const QVCurvedPath path({0, 0}, {30, 40}, true, 500);
    EXPECT_FLOAT_EQ(path.distance(), 50);
}

} // namespace
} // namespace zm
