#include "framework/Source/PixBlurRoad.h"
#include "framework/Source/PixStillBlur.h"
#include "framework/Source/PixTestSupport.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Image.h"

#include <random>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::makeImage;
using pixtest::Rgba;

// How far apart two images of the same size are: the largest difference of any byte, and the mean.
struct Difference {
    int largest = 0;
    double mean = 0;
};

Difference difference(const gfx::Image& first, const gfx::Image& second) {
    Difference found;
    long total = 0;
    for (int y = 0; y < first.pixelHeight(); ++y) {
        const std::uint8_t* a = first.bitmap().bytes() + y * first.bitmap().bytesPerRow();
        const std::uint8_t* b = second.bitmap().bytes() + y * second.bitmap().bytesPerRow();
        for (int byte = 0; byte < first.pixelWidth() * 4; ++byte) {
            const int apart = std::abs(a[byte] - b[byte]);
            found.largest = std::max(found.largest, apart);
            total += apart;
        }
    }
    found.mean = double(total) / (4.0 * first.pixelWidth() * first.pixelHeight());
    return found;
}

// Premultiplied colours of every kind, transparent and opaque included, in noise the blur mixes.
std::shared_ptr<const gfx::Image> noise(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<Rgba> pixels;
    for (int i = 0; i < width * height; ++i) {
        const auto alpha = static_cast<std::uint8_t>(i % 7 == 0 ? 0 : i % 5 == 0 ? 255 : random() % 256);
        pixels.push_back({static_cast<std::uint8_t>(random() % 256),
                          static_cast<std::uint8_t>(random() % 256),
                          static_cast<std::uint8_t>(random() % 256), alpha});
    }
    return makeImage(width, height, pixels);
}

// Mesa's software rasteriser sums the GL road's taps below single precision (they are declared low
// precision), so its picture and the processor's differ by a level here and there (two where the
// brightness then rounds a half); a wrong spacing, edge or channel differs by tens.
TEST(PixStillBlur, GivesTheGLRoadsPictureWithinTheGLRoadsOwnRounding) {
    const auto wide = noise(97, 61, 1);
    const auto tall = noise(23, 150, 2);
    for (const auto& image : {wide, tall}) {
        for (const float blurSize : {0.0f, 1.0f, 3.0f, 10.0f, 20.0f}) {
            for (const float brightness : {-0.1f, 0.0f, 0.3f, 1.0f}) {
                const auto onCpu = blurStillImage(*image, blurSize, brightness);
                const auto onGL = blurImage(*image, blurSize, brightness);
                ASSERT_TRUE(onCpu && onGL);
                EXPECT_EQ(onCpu->scale(), 1.0f);
                ASSERT_EQ(onCpu->pixelWidth(), onGL->pixelWidth());
                ASSERT_EQ(onCpu->pixelHeight(), onGL->pixelHeight());
                const Difference apart = difference(*onCpu, *onGL);
                EXPECT_LE(apart.largest, 2) << image->pixelWidth() << " x " << image->pixelHeight()
                                            << ", blur size " << blurSize << ", brightness " << brightness;
                EXPECT_LT(apart.mean, 0.15);
            }
        }
    }
}

TEST(PixStillBlur, ASizeBetweenPixelsTakesTheGLRoad) {
    const auto image = noise(40, 30, 3);
    const auto still = blurStillImage(*image, 2.5f, -0.1f);
    const auto road = blurImage(*image, 2.5f, -0.1f);
    ASSERT_TRUE(still && road);
    EXPECT_EQ(difference(*still, *road).largest, 0);
}

TEST(PixStillBlur, AnImageWithoutPixelsGivesNone) {
    const gfx::Image empty(gfx::Bitmap::create(0, 0), 1);
    EXPECT_EQ(blurStillImage(empty, 3.0f, 1.0f), nullptr);
}

} // namespace
} // namespace zm
