#include "framework/Source/PixBrightnessFilter.h"
#include "framework/Source/PixPicture.h"
#include "framework/Source/PixTestSupport.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::makeImage;
using pixtest::Rgba;

Rgba brightened(Rgba colour, float brightness) {
    auto picture = PixPicture::create(*makeImage(1, 1, {colour}));
    auto filter = PixBrightnessFilter::create();
    filter->setBrightness(brightness);
    picture->addTarget(filter);
    picture->processImage();
    return filter->newImageFromCurrentlyProcessedOutput().pixel(0, 0);
}

TEST(PixBrightnessFilter, StartsAtZeroAndChangesNothing) {
    EXPECT_EQ(PixBrightnessFilter::create()->brightness(), 0.0f);
    EXPECT_EQ(brightened({12, 130, 250, 255}, 0), (Rgba{12, 130, 250, 255}));
}

TEST(PixBrightnessFilter, DarkensEachColourChannelByATenthNeverBelowZero) {
    const Rgba result = brightened({200, 100, 20, 255}, -0.1f);
    for (int channel = 0; channel < 2; ++channel) {
        const int lowered = Rgba{200, 100, 20, 255}[channel] - result[channel];
        EXPECT_TRUE(lowered == 25 || lowered == 26) << "channel " << channel << " lowered by " << lowered;
    }
    EXPECT_EQ(result[2], 0);
    EXPECT_EQ(result[3], 255); // alpha is kept
}

TEST(PixBrightnessFilter, OneTurnsEveryColourWhiteAndKeepsAlpha) {
    EXPECT_EQ(brightened({0, 0, 0, 0}, 1), (Rgba{255, 255, 255, 0}));
    EXPECT_EQ(brightened({0, 60, 0, 60}, 1), (Rgba{255, 255, 255, 60}));
}

} // namespace
} // namespace zm
