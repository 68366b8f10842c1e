#include "platform/gfx/Image.h"
#include "platform/gfx/ImageContext.h"
#include "platform/gfx/PixelTesting.h"
#include "platform/gfx/Png.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include <algorithm>

#include <gtest/gtest.h>

namespace gfx {
namespace {

using namespace testing_pixels;

TEST(ImageTest, StraightColoursArePremultiplied) {
    // Two RGBA pixels: red at half alpha, then opaque green; rows padded to 12 bytes.
    const std::vector<std::uint8_t> rgba{255, 0, 0, 128, 0, 255, 0, 255, 9, 9, 9, 9};
    const auto image = Image::fromPixels(rgba, 2, 1, 12, PixelLayout::StraightRGBA, 2);
    ASSERT_TRUE(image);
    EXPECT_TRUE(pixelNear(image->bitmap(), 0, 0, {0, 0, 128, 128}, 0));
    EXPECT_TRUE(pixelNear(image->bitmap(), 1, 0, kGreen, 0));
    EXPECT_EQ(image->size(), core::Size(1, 0.5f));
}

TEST(ImageTest, RefusesPixelsThatDoNotFit) {
    const std::vector<std::uint8_t> bytes(16);
    EXPECT_FALSE(Image::fromPixels(bytes, 0, 1, 4, PixelLayout::PremultipliedBGRA));
    EXPECT_FALSE(Image::fromPixels(bytes, 2, 2, 4, PixelLayout::PremultipliedBGRA)); // rows too short
    EXPECT_FALSE(Image::fromPixels(bytes, 2, 3, 8, PixelLayout::PremultipliedBGRA)); // bytes too few
    EXPECT_FALSE(Image::fromPixels(bytes, Bitmap::kMaxSide + 1, 1, (Bitmap::kMaxSide + 1) * 4,
                                   PixelLayout::PremultipliedBGRA));
    EXPECT_TRUE(Image::fromPixels(bytes, 2, 2, 8, PixelLayout::PremultipliedBGRA));
}

std::shared_ptr<const Image> gradientImage(int width, int height, float scale = 1) {
    std::vector<std::uint8_t> bytes;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bytes.insert(bytes.end(), {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0, 255});
        }
    }
    return Image::fromPixels(bytes, width, height, width * 4, PixelLayout::PremultipliedBGRA, scale);
}

TEST(ImageTest, CropsInPixelsWithinTheImage) {
    const auto image = gradientImage(8, 6, 2);
    const auto strip = image->cropped({0, 4, 8, 2}); // the bottom strip, as the blurred bars cut it
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->pixelWidth(), 8);
    EXPECT_EQ(strip->pixelHeight(), 2);
    EXPECT_EQ(strip->scale(), 2);
    EXPECT_EQ(strip->bitmap().pixel(3, 1), (Pixel{3, 5, 0, 255}));

    const auto outward = image->cropped({6.5f, -2, 10, 3.2f}); // made whole outward, cut to the image
    ASSERT_TRUE(outward);
    EXPECT_EQ(outward->pixelWidth(), 2);
    EXPECT_EQ(outward->pixelHeight(), 2);
    EXPECT_EQ(outward->bitmap().pixel(0, 0), (Pixel{6, 0, 0, 255}));

    EXPECT_FALSE(image->cropped({8, 0, 4, 4}));
    EXPECT_FALSE(image->cropped({0, 0, 0, 4}));
    EXPECT_FALSE(image->cropped({0, 0, std::numeric_limits<float>::quiet_NaN(), 4}));
}

TEST(ImageTest, ResizableImagesShareTheirPixels) {
    const auto image = gradientImage(4, 4);
    const auto stretchable = image->resizable({1, 2, 1, 2});
    EXPECT_EQ(&stretchable->bitmap(), &image->bitmap());
    EXPECT_EQ(stretchable->capInsets(), (CapInsets{1, 2, 1, 2}));
    EXPECT_TRUE(image->capInsets().isZero());
}

TEST(ImageTest, PngKeepsEveryPixel) {
    std::vector<std::uint8_t> rgba;
    for (int i = 0; i < 256; ++i) {
        rgba.insert(rgba.end(), {static_cast<std::uint8_t>(i), 7, static_cast<std::uint8_t>(255 - i),
                                 static_cast<std::uint8_t>(i % 2 ? 255 : i)});
    }
    const auto image = Image::fromPixels(rgba, 16, 16, 64, PixelLayout::StraightRGBA);
    const std::vector<std::uint8_t> file = encodePng(*image);
    const auto decoded = decodePng(file, 2);
    ASSERT_TRUE(decoded.ok()) << decoded.error().text();
    const Image& read = **decoded;
    EXPECT_EQ(read.pixelWidth(), 16);
    EXPECT_EQ(read.scale(), 2);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            // Premultiplied colours survive the trip to straight colours and back.
            EXPECT_TRUE(pixelNear(read.bitmap(), x, y, image->bitmap().pixel(x, y), 0));
        }
    }
}

// Every premultiplied colour at every alpha comes back from a PNG file exactly as it was.
TEST(ImageTest, PngKeepsEveryPremultipliedColourAtEveryAlpha) {
    std::vector<std::uint8_t> bgra;
    for (int alpha = 0; alpha < 256; ++alpha) {
        for (int colour = 0; colour < 256; ++colour) {
            const auto c = static_cast<std::uint8_t>(std::min(colour, alpha));
            bgra.insert(bgra.end(), {c, static_cast<std::uint8_t>(alpha - c), static_cast<std::uint8_t>(c / 2),
                                     static_cast<std::uint8_t>(alpha)});
        }
    }
    const auto image = Image::fromPixels(bgra, 256, 256, 256 * 4, PixelLayout::PremultipliedBGRA);
    ASSERT_TRUE(image);
    const auto decoded = decodePng(encodePng(*image));
    ASSERT_TRUE(decoded.ok()) << decoded.error().text();
    const Bitmap& read = (*decoded)->bitmap();
    int differing = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x)
            differing += !pixelNear(read, x, y, image->bitmap().pixel(x, y), 0);
    }
    EXPECT_EQ(differing, 0);
}

// Pictures of every shape come back exactly, however their rows are split for compressing: one pixel,
// one column, a last group of rows shorter than the others, rows of many pixels with noise in them.
TEST(ImageTest, PngKeepsPicturesOfEveryShape) {
    for (const auto& [width, height] : {std::pair{1, 1}, {1, 300}, {37, 129}, {600, 257}}) {
        std::vector<std::uint8_t> bgra;
        std::uint32_t noise = 12345;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                noise = noise * 1664525 + 1013904223;
                const auto alpha = static_cast<std::uint8_t>((x + y) % 7 ? 255 : noise >> 24);
                const auto c = static_cast<std::uint8_t>(std::min<int>(alpha, (noise >> 8) & 0xff));
                bgra.insert(bgra.end(), {c, static_cast<std::uint8_t>(std::min(int(alpha), y)),
                                         static_cast<std::uint8_t>(std::min(int(alpha), x)), alpha});
            }
        }
        const auto image = Image::fromPixels(bgra, width, height, width * 4, PixelLayout::PremultipliedBGRA);
        ASSERT_TRUE(image);
        const auto decoded = decodePng(encodePng(*image));
        ASSERT_TRUE(decoded.ok()) << width << " x " << height << ": " << decoded.error().text();
        const Bitmap& read = (*decoded)->bitmap();
        ASSERT_EQ(read.width(), width);
        ASSERT_EQ(read.height(), height);
        for (int y = 0; y < height; ++y)
            ASSERT_EQ(std::memcmp(read.bytes() + y * read.bytesPerRow(),
                                  image->bitmap().bytes() + y * image->bitmap().bytesPerRow(), std::size_t(width) * 4),
                      0)
                << width << " x " << height << ", row " << y;
    }
}

TEST(ImageTest, DamagedPngIsAnError) {
    const auto image = gradientImage(5, 5);
    std::vector<std::uint8_t> file = encodePng(*image);
    for (std::vector<std::uint8_t> damaged :
         {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{'G', 'I', 'F'},
          std::vector<std::uint8_t>(file.begin(), file.begin() + file.size() / 2)}) {
        const auto decoded = decodePng(damaged);
        ASSERT_FALSE(decoded.ok());
        EXPECT_EQ(decoded.error().domain, kImageErrorDomain);
        EXPECT_EQ(decoded.error().code, kImageErrorUnreadable);
    }
}

TEST(ImageTest, ContextsDrawAtTheirScale) {
    ImageContext context({10.5f, 3}, 2);
    EXPECT_EQ(context.bitmap().width(), 21);
    EXPECT_EQ(context.bitmap().height(), 6);
    context.canvas().setFillColor(core::Color::white());
    context.canvas().fillRect({0, 0, 1, 1});
    const auto image = context.image();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 2);
    EXPECT_EQ(image->size(), core::Size(10.5f, 3));
    EXPECT_TRUE(pixelNear(image->bitmap(), 1, 1, kWhite, 0));
    context.canvas().fillRect({0, 0, 10, 3});
    EXPECT_TRUE(pixelNear(image->bitmap(), 5, 5, kClear, 0)); // the image is a copy

    ImageContext opaque({2, 2}, 1, true);
    EXPECT_TRUE(pixelNear(opaque.bitmap(), 1, 1, kBlack, 0));
}

TEST(ImageTest, ContextsWithoutPixelsDrawNothing) {
    for (core::Size size : {core::Size{0, 10}, core::Size{-5, 5},
                            core::Size{std::numeric_limits<float>::quiet_NaN(), 1}, core::Size{1e6f, 1e6f}}) {
        ImageContext context(size, 2);
        context.canvas().fillRect({0, 0, 10, 10});
        EXPECT_EQ(context.image(), nullptr);
    }
}

} // namespace
} // namespace gfx
