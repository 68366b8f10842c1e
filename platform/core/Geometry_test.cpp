#include "platform/core/Geometry.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

namespace core {
namespace {

void expectNear(const Rect& actual, const Rect& expected) {
    EXPECT_NEAR(actual.origin.x, expected.origin.x, 1e-4);
    EXPECT_NEAR(actual.origin.y, expected.origin.y, 1e-4);
    EXPECT_NEAR(actual.size.width, expected.size.width, 1e-4);
    EXPECT_NEAR(actual.size.height, expected.size.height, 1e-4);
}

TEST(Rect, EdgesOfANegativeSizedRectAreThoseOfItsStandardForm) {
    const Rect r(10, 20, -4, -6);
    EXPECT_EQ(r.minX(), 6);
    EXPECT_EQ(r.maxX(), 10);
    EXPECT_EQ(r.minY(), 14);
    EXPECT_EQ(r.maxY(), 20);
    EXPECT_EQ(r.midX(), 8);
    EXPECT_EQ(r.midY(), 17);
    EXPECT_EQ(r.standardized(), Rect(6, 14, 4, 6));
}

TEST(Rect, NullIsTheNeutralElementOfUnion) {
    const Rect r(1, 2, 3, 4);
    EXPECT_EQ(Rect::null().united(r), r);
    EXPECT_EQ(r.united(Rect::null()), r);
    EXPECT_TRUE(Rect::null().united(Rect::null()).isNull());
    EXPECT_EQ(r.united(Rect(10, 10, 1, 1)), Rect(1, 2, 10, 9));
    // A union over views that starts from null must not be pulled towards the origin.
    Rect box = Rect::null();
    for (const Rect& piece : {Rect(50, 60, 10, 10), Rect(80, 60, 5, 5)})
        box = box.united(piece);
    EXPECT_EQ(box, Rect(50, 60, 35, 10));
}

TEST(Rect, IntersectionOfDisjointRectsIsNullAndTouchingRectsMeetInAnEmptyRect) {
    const Rect a(0, 0, 10, 10);
    EXPECT_EQ(a.intersected(Rect(5, 5, 10, 10)), Rect(5, 5, 5, 5));
    EXPECT_TRUE(a.intersected(Rect(20, 20, 1, 1)).isNull());
    EXPECT_FALSE(a.intersects(Rect(20, 20, 1, 1)));
    const Rect touching = a.intersected(Rect(10, 0, 5, 5));
    EXPECT_FALSE(touching.isNull());
    EXPECT_TRUE(touching.isEmpty());
    EXPECT_TRUE(a.intersected(Rect::null()).isNull());
}

TEST(Rect, ContainsIncludesTheMinimumEdgesAndExcludesTheMaximumEdges) {
    const Rect r(0, 0, 10, 10);
    EXPECT_TRUE(r.contains(Point{0, 0}));
    EXPECT_TRUE(r.contains(Point{9.99f, 9.99f}));
    EXPECT_FALSE(r.contains(Point{10, 5}));
    EXPECT_FALSE(r.contains(Point{5, 10}));
    EXPECT_FALSE(Rect::null().contains(Point{0, 0}));
    EXPECT_TRUE(r.contains(Rect(0, 0, 10, 10)));
    EXPECT_FALSE(r.contains(Rect(5, 5, 10, 1)));
}

TEST(Rect, InsetOffsetAndIntegral) {
    EXPECT_EQ(Rect(0, 0, 10, 20).insetBy(2, 3), Rect(2, 3, 6, 14));
    EXPECT_EQ(Rect(0, 0, 10, 20).insetBy(-1, -1), Rect(-1, -1, 12, 22));
    EXPECT_TRUE(Rect(0, 0, 10, 20).insetBy(6, 0).isNull());
    EXPECT_TRUE(Rect::null().insetBy(1, 1).isNull());
    EXPECT_EQ(Rect(1, 2, 3, 4).offsetBy(10, 20), Rect(11, 22, 3, 4));
    EXPECT_EQ(Rect(0.5f, 1.2f, 2.1f, 3.9f).integral(), Rect(0, 1, 3, 5));
    EXPECT_EQ(Rect(-0.5f, -0.5f, 1, 1).integral(), Rect(-1, -1, 2, 2));
    EXPECT_TRUE(Rect::null().integral().isNull());
}

TEST(AffineTransform, ScaleRotateAndTranslateApplyBeforeTheExistingTransform) {
    const AffineTransform t = AffineTransform::makeTranslation(100, 0).scaled(2, 3);
    const Point p = t.apply(Point{1, 1});
    EXPECT_EQ(p, (Point{102, 3}));
    EXPECT_EQ(t.xScale(), 2);

    // A quarter turn moves +x onto +y: clockwise on a screen whose y grows downward.
    const Point turned = AffineTransform::makeRotation(std::numbers::pi_v<float> / 2).apply(Point{1, 0});
    EXPECT_NEAR(turned.x, 0, 1e-6);
    EXPECT_NEAR(turned.y, 1, 1e-6);
}

TEST(AffineTransform, ConcatAppliesTheFirstThenTheSecond) {
    const AffineTransform scale = AffineTransform::makeScale(10, 10);
    const AffineTransform shift = AffineTransform::makeTranslation(5, 0);
    EXPECT_EQ(AffineTransform::concat(scale, shift).apply(Point{1, 1}), (Point{15, 10}));
    EXPECT_EQ(AffineTransform::concat(shift, scale).apply(Point{1, 1}), (Point{60, 10}));
    EXPECT_TRUE(AffineTransform::concat(scale, AffineTransform::identity()) == scale);
}

TEST(AffineTransform, InverseUndoesAndSingularTransformIsKept) {
    const AffineTransform t = AffineTransform::makeTranslation(3, -7).rotated(0.3f).scaled(2, 0.5f);
    const Point back = t.inverted().apply(t.apply(Point{4, 9}));
    EXPECT_NEAR(back.x, 4, 1e-4);
    EXPECT_NEAR(back.y, 9, 1e-4);

    const AffineTransform singular = AffineTransform::makeScale(0, 1);
    EXPECT_EQ(singular.inverted(), singular);
    EXPECT_TRUE(AffineTransform::identity().isIdentity());
}

TEST(AffineTransform, ApplyToRectGivesTheBoundingBoxOfItsCorners) {
    expectNear(AffineTransform::makeScale(2, -1).apply(Rect(1, 1, 2, 2)), Rect(2, -3, 4, 2));
    expectNear(AffineTransform::makeRotation(std::numbers::pi_v<float> / 4).apply(Rect(0, 0, 1, 1)),
               Rect(-std::sqrt(0.5f), 0, 2 * std::sqrt(0.5f), 2 * std::sqrt(0.5f)));
    EXPECT_TRUE(AffineTransform::makeScale(2, 2).apply(Rect::null()).isNull());
}

} // namespace
} // namespace core
