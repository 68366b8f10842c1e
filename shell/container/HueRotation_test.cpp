#include "platform/gfx/Image.h"
#include "platform/gfx/ImageContext.h"
#include "shell/container/HueRotation.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(HueRotation, TheTintFollowsTheCarouselRoundTheColourCircle) {
    const struct {
        double perc;
        int red, green, blue;
    } cases[] = {
        {0, 23, 42, 62},   {0.1, 33, 28, 64},  {0.25, 53, 19, 53},
        {0.5, 61, 42, 22}, {0.75, 30, 64, 31}, {1, 23, 42, 62},
    };
    for (const auto& test : cases) {
        const core::Color tint = tintForPerc(test.perc);
        EXPECT_EQ(tint, core::Color::rgb255(float(test.red), float(test.green), float(test.blue), 0.65f))
            << test.perc << ": " << tint.description();
    }
}

TEST(HueRotation, ChannelsAreCutToTheColourRange) {
    // Far out of the carousel's range the turn is still a turn; a position that is no number must not
    // produce a colour outside the range either.
    for (double perc : {-0.3, 7.45, std::nan("")}) {
        const core::Color tint = tintForPerc(perc);
        for (float channel : {tint.red(), tint.green(), tint.blue()}) {
            EXPECT_GE(channel, 0) << perc;
            EXPECT_LE(channel, 1) << perc;
        }
    }
}

TEST(HueRotation, APictureTurnsLikeItsColoursAndKeepsGreysAndAlpha) {
    gfx::ImageContext context({3, 1}, 1);
    context.canvas().setFillColor(core::Color::rgb255(23, 42, 62));
    context.canvas().fillRect({0, 0, 1, 1});
    context.canvas().setFillColor(core::Color::rgb255(128, 128, 128));
    context.canvas().fillRect({1, 0, 1, 1});
    context.canvas().setFillColor(core::Color::rgb255(200, 40, 40, 0.5f));
    context.canvas().fillRect({2, 0, 1, 1});
    const std::shared_ptr<const gfx::Image> picture = context.image();

    const HueRotation quarterTurn(std::numbers::pi / 2);
    const std::shared_ptr<const gfx::Image> turned = quarterTurn.apply(*picture);
    ASSERT_TRUE(turned);
    const gfx::Pixel tint = turned->bitmap().pixel(0, 0);
    EXPECT_NEAR(tint.red, 54, 1);
    EXPECT_NEAR(tint.green, 19, 1);
    EXPECT_NEAR(tint.blue, 53, 1);
    EXPECT_EQ(turned->bitmap().pixel(1, 0), picture->bitmap().pixel(1, 0));
    const gfx::Pixel translucent = turned->bitmap().pixel(2, 0);
    EXPECT_EQ(translucent.alpha, picture->bitmap().pixel(2, 0).alpha);
    EXPECT_LE(translucent.red, translucent.alpha);
    EXPECT_LE(translucent.green, translucent.alpha);
    EXPECT_LE(translucent.blue, translucent.alpha);
    // A whole turn gives the picture back.
    const std::shared_ptr<const gfx::Image> whole = HueRotation(2 * std::numbers::pi).apply(*picture);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(whole->bitmap().pixel(x, 0), picture->bitmap().pixel(x, 0)) << x;
}

} // namespace
} // namespace zm
