#include "playground/DrawingPath.h"
#include "playground/testing/PlaygroundStage.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

TEST(DrawingPath, OnATabletACubicCurveRunsFromTheLeftEnd) {
    PlaygroundStage stage(ui::Idiom::Tablet);
    DrawingPath path({200, 100}, {0, 100}, {100, 0});
    EXPECT_EQ(path.firstControl(), (core::Point{175, 0}));
    EXPECT_EQ(path.secondControl(), (core::Point{25, 0}));
    EXPECT_EQ(path.getPositionAtPercentageThrough(0), (core::Point{0, 100}));
    EXPECT_EQ(path.getPositionAtPercentageThrough(1), (core::Point{200, 100}));
    const core::Point middle = path.getPositionAtPercentageThrough(0.5f);
    EXPECT_FLOAT_EQ(middle.x, 100);
    EXPECT_FLOAT_EQ(middle.y, 25);
}

TEST(DrawingPath, OnAPhoneAQuadraticCurveThroughTheControl) {
    PlaygroundStage stage(ui::Idiom::Phone);
    DrawingPath path({0, 100}, {200, 100}, {100, 0});
    EXPECT_EQ(path.firstControl(), (core::Point{-1, -1}));
    EXPECT_EQ(path.secondControl(), (core::Point{-1, -1}));
    const core::Point middle = path.getPositionAtPercentageThrough(0.5f);
    EXPECT_FLOAT_EQ(middle.x, 100);
    EXPECT_FLOAT_EQ(middle.y, 50);
}

} // namespace
} // namespace zm
