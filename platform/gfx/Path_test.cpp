#include "platform/gfx/Path.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

namespace gfx {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

void expectPoint(core::Point actual, core::Point expected, float tolerance = 1e-3f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

struct Arc {
    float start;
    float end;
    bool clockwise;
    float turns; // how much of the circle is swept
};

TEST(PathTest, ArcsSweepInTheirDirectionAtMostOnce) {
    for (const Arc& arc :
         {Arc{0, kPi / 2, true, 0.25f}, Arc{0, kPi / 2, false, 0.75f}, Arc{-kPi / 2, 3 * kPi / 2, true, 1},
          Arc{kPi, kPi / 2, true, 0.75f}, Arc{0, 5 * kPi, true, 1}, Arc{1, 1, true, 0},
          Arc{-kPi / 2, -kPi / 2 + 0.001f, false, 1}}) {
        Path path;
        path.addArc({50, 50}, 10, arc.start, arc.end, arc.clockwise);
        // Curves are measured along fine polylines: a thousandth short at most.
        EXPECT_NEAR(path.length(), 2 * kPi * 10 * arc.turns, 0.07) << arc.start << " to " << arc.end;
        expectPoint(path.elements().front().points[0],
                    {50 + 10 * std::cos(arc.start), 50 + 10 * std::sin(arc.start)});
    }
}

// y grows downward: growing angles turn clockwise on screen, so a clockwise quarter from the
// right-hand point passes below the centre.
TEST(PathTest, ClockwiseIsClockwiseOnScreen) {
    Path path;
    path.addArc({0, 0}, 10, 0, kPi / 2, true);
    expectPoint(*path.currentPoint(), {0, 10});
    EXPECT_GT(path.bounds().maxY(), 9.99f);
    EXPECT_GT(path.bounds().minY(), -0.01f);
}

TEST(PathTest, RoundedRectangleRadiusIsLimitedToHalfTheShorterSide) {
    const Path pill = Path::roundedRect({0, 0, 100, 20}, 50);
    EXPECT_NEAR(pill.length(), 2 * 80 + 2 * kPi * 10, 0.07);
    const core::Rect bounds = pill.bounds();
    EXPECT_NEAR(bounds.width(), 100, 1e-3);
    EXPECT_NEAR(bounds.height(), 20, 1e-3);
    EXPECT_EQ(Path::roundedRect({0, 0, 10, 10}, 0), Path::rect({0, 0, 10, 10}));
    EXPECT_EQ(Path::roundedRect({0, 0, 10, 10}, -4), Path::rect({0, 0, 10, 10}));
}

TEST(PathTest, CurvesAreMeasuredAlongTheCurve) {
    EXPECT_NEAR(Path::ellipse({0, 0, 20, 20}).length(), 2 * kPi * 10, 0.07);
    Path quad;
    quad.moveTo({0, 0});
    quad.quadTo({50, 100}, {100, 0});
    const core::Rect bounds = quad.bounds();
    EXPECT_NEAR(bounds.maxY(), 50, 0.05); // a quadratic curve reaches halfway to its control
    EXPECT_NEAR(bounds.width(), 100, 1e-3);
}

TEST(PathTest, SegmentsWithoutACurrentPointStartASubpath) {
    Path path;
    path.lineTo({5, 5});
    path.lineTo({10, 5});
    EXPECT_EQ(path.elements().front().type, Path::ElementType::MoveTo);
    EXPECT_FLOAT_EQ(path.length(), 5);

    // After a close, drawing goes on from the closed subpath's start.
    Path closed;
    closed.moveTo({0, 0});
    closed.lineTo({10, 0});
    closed.close();
    closed.lineTo({0, 10});
    expectPoint(closed.elements()[3].points[0], {0, 0});
    EXPECT_FLOAT_EQ(closed.length(), 30);
    Path empty;
    empty.close();
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_TRUE(empty.bounds().isNull());
}

TEST(PathTest, TrimmingKeepsThePartBetweenTwoFractionsOfTheLength) {
    const Path square = Path::rect({0, 0, 10, 10}); // 40 long, closing side included
    const Path firstHalf = square.trimmed(0, 0.5f);
    EXPECT_FLOAT_EQ(firstHalf.length(), 20);
    expectPoint(*firstHalf.currentPoint(), {10, 10});
    const Path middle = square.trimmed(0.125f, 0.875f);
    expectPoint(middle.elements().front().points[0], {5, 0});
    expectPoint(*middle.currentPoint(), {0, 5});
    EXPECT_EQ(square.trimmed(0, 1), square);
    EXPECT_TRUE(square.trimmed(0.5f, 0.5f).isEmpty());
    EXPECT_TRUE(square.trimmed(0.8f, 0.2f).isEmpty());

    // A full circle drawn from the top, as a progress ring fills it.
    Path ring;
    ring.addArc({0, 0}, 10, -kPi / 2, 3 * kPi / 2, true);
    expectPoint(*ring.trimmed(0, 0.25f).currentPoint(), {10, 0}, 0.05f);
}

TEST(PathTest, TransformingMovesEveryPoint) {
    const Path moved =
        Path::rect({0, 0, 10, 20}).transformed(core::AffineTransform::makeTranslation(5, 7).scaled(2, 1));
    const core::Rect bounds = moved.bounds();
    EXPECT_EQ(bounds, core::Rect(5, 7, 20, 20));
}

} // namespace
} // namespace gfx
