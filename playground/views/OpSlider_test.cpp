#include "playground/testing/PlaygroundStage.h"
#include "playground/views/OpSlider.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

TEST(OpSlider, IsSizedForTheDeviceAndCaughtTenPointsAboveAndBelow) {
    for (auto [idiom, width] : {std::pair{ui::Idiom::Tablet, 300.0f}, std::pair{ui::Idiom::Phone, 200.0f}}) {
        PlaygroundStage stage(idiom);
        auto slider = OpSlider::create();
        EXPECT_EQ(slider->frame().width(), width);
        EXPECT_TRUE(slider->pointInside({50, -10}, nullptr));
        EXPECT_TRUE(slider->pointInside({50, slider->bounds().height() + 9}, nullptr));
        EXPECT_FALSE(slider->pointInside({50, -11}, nullptr));
        EXPECT_FALSE(slider->pointInside({width + 1, 5}, nullptr));
    }
}

TEST(OpSlider, IsPlacedLikeAnyViewButKeepsItsLook) {
    PlaygroundStage stage;
    auto slider = OpSlider::create();
    slider->moveTo({400, 300}, AnchorCenter);
    EXPECT_EQ(slider->center(), (core::Point{400, 300}));
    slider->setAlgebraTransformSize(2);
    slider->highlight();
    slider->setColor(kHighlightColor);
    EXPECT_TRUE(slider->transform().isIdentity());
    EXPECT_FALSE(slider->isHighlighted());
    EXPECT_EQ(slider->getObj(), nullptr);
    ASSERT_EQ(slider->getViewList().size(), 1u);
    EXPECT_EQ(slider->getViewList().front().get(), slider.get());
}

} // namespace
} // namespace zm
