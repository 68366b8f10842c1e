#include "platform/gfx/ImageDecoding.h"
#include "platform/gfx/Jpeg.h"
#include "platform/gfx/PixelTesting.h"
#include "platform/gfx/Png.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace gfx {
namespace {

using namespace testing_pixels;

// 16 x 16 in four flat 8 x 8 quarters (JPEG's own blocks): red, green over blue, white.
std::shared_ptr<const Image> quarters(float scale = 1) {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool right = x >= 8, bottom = y >= 8;
            const std::uint8_t red = (!right && !bottom) || (right && bottom) ? 255 : 0;
            const std::uint8_t green = (right && !bottom) || (right && bottom) ? 255 : 0;
            const std::uint8_t blue = (!right && bottom) || (right && bottom) ? 255 : 0;
            rgba.insert(rgba.end(), {red, green, blue, 255});
        }
    }
    return Image::fromPixels(rgba, 16, 16, 16 * 4, PixelLayout::StraightRGBA, scale);
}

TEST(Jpeg, RoundTripsFlatColoursWithinItsLoss) {
    const std::vector<std::uint8_t> bytes = encodeJpeg(*quarters(), 95);
    ASSERT_FALSE(bytes.empty());
    const auto decoded = decodeJpeg(bytes, 2);
    ASSERT_TRUE(decoded) << decoded.error().text();
    const Image& image = *decoded.value();
    EXPECT_EQ(image.size(), core::Size(8, 8));
    EXPECT_TRUE(pixelNear(image.bitmap(), 3, 3, kRed, 4));
    EXPECT_TRUE(pixelNear(image.bitmap(), 12, 3, kGreen, 4));
    EXPECT_TRUE(pixelNear(image.bitmap(), 3, 12, kBlue, 4));
    EXPECT_TRUE(pixelNear(image.bitmap(), 12, 12, kWhite, 4));
}

TEST(Jpeg, TellsAnImageByItsFirstBytes) {
    const std::vector<std::uint8_t> jpeg = encodeJpeg(*quarters());
    const std::vector<std::uint8_t> png = encodePng(*quarters());
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool readable;
    };
    std::vector<std::uint8_t> damaged = jpeg;
    damaged.resize(20);
    const Case cases[] = {
        {"JPEG", jpeg, true},
        {"PNG", png, true},
        {"text", {'h', 'e', 'l', 'l', 'o'}, false},
        {"nothing", {}, false},
        {"a JPEG's first 20 bytes", damaged, false},
    };
    for (const Case& c : cases) {
        const auto image = decodeImage(c.bytes);
        EXPECT_EQ(image.ok(), c.readable) << c.name;
        if (image)
            EXPECT_TRUE(pixelNear(image.value()->bitmap(), 12, 12, kWhite, 4)) << c.name;
        else
            EXPECT_EQ(image.error().code, kImageErrorUnreadable) << c.name;
    }
}

} // namespace
} // namespace gfx
