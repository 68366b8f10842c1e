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

TEST(OpSlider, DrawsItsTrackAndThumb) {
    PlaygroundStage stage;
    auto slider = OpSlider::create();
    slider->moveTo(stage.center(), AnchorCenter);
    slider->setValue(0.5f);
    stage.playgroundView->addSubview(slider);
    const auto image = stage.render("slider");
    EXPECT_GT(inkIn(*image, slider->frame()), 200) << "the thumb";
    int coloured = 0;
    for (int x = int(slider->frame().minX()); x < int(slider->frame().maxX()); ++x) {
        const gfx::Pixel pixel = image->bitmap().pixel(x, int(slider->frame().midY()));
        if (pixel.red + pixel.green + pixel.blue > 30)
            ++coloured;
    }
    EXPECT_GT(coloured, slider->frame().width() * 0.8f) << "the track runs the whole width";
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
