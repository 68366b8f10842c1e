#include "framework/Source/PixBlurRoad.h"
#include "framework/Source/PixBrightnessFilter.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixPicture.h"
#include "framework/Source/PixTestSupport.h"
#include "platform/gfx/Image.h"

#include <future>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::makeImage;
using pixtest::premultipliedPixel;
using pixtest::Rgba;

// A snapshot of a playground: transparent, with an opaque square of content in the middle.
std::shared_ptr<const gfx::Image> contentOnTransparency(int side, int contentSide) {
    std::vector<Rgba> pixels;
    const int from = (side - contentSide) / 2;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const bool content = x >= from && x < from + contentSide && y >= from && y < from + contentSide;
            pixels.push_back(content ? Rgba{40, 90, 200, 255} : Rgba{0, 0, 0, 0});
        }
    }
    return makeImage(side, side, pixels);
}

bool sameImages(const gfx::Image& first, const gfx::Image& second) {
    if (first.pixelWidth() != second.pixelWidth() || first.pixelHeight() != second.pixelHeight())
        return false;
    for (int y = 0; y < first.pixelHeight(); ++y)
        for (int x = 0; x < first.pixelWidth(); ++x)
            if (first.bitmap().pixel(x, y) != second.bitmap().pixel(x, y))
                return false;
    return true;
}

TEST(PixBlurRoad, TheCompletionGlowIsAWhiteSilhouetteWhoseAlphaFallsOffAtTheEdges) {
    constexpr int kSide = 64;
    constexpr int kContentSide = 32;
    auto glow = blurImage(*contentOnTransparency(kSide, kContentSide), 3.0f, 1.0f);
    ASSERT_TRUE(glow);
    ASSERT_EQ(glow->pixelWidth(), kSide);
    EXPECT_EQ(glow->scale(), 1.0f);

    // White everywhere: stored colours equal alpha.
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const Rgba pixel = premultipliedPixel(*glow, x, y);
            ASSERT_TRUE(pixel[0] == pixel[3] && pixel[1] == pixel[3] && pixel[2] == pixel[3])
                << x << "," << y;
        }
    }
    // Across the middle row: opaque inside the content, falling off over 12 pixels past each edge,
    // transparent beyond.
    const int row = kSide / 2;
    const int edge = (kSide - kContentSide) / 2;
    EXPECT_EQ(premultipliedPixel(*glow, kSide / 2, row)[3], 255);
    EXPECT_EQ(premultipliedPixel(*glow, edge - 13, row)[3], 0);
    EXPECT_EQ(premultipliedPixel(*glow, 0, 0)[3], 0);
    int previous = 255;
    for (int x = edge + 12; x >= edge - 12; --x) {
        const int alpha = premultipliedPixel(*glow, x, row)[3];
        EXPECT_LE(alpha, previous) << "at " << x;
        previous = alpha;
    }
    EXPECT_GT(premultipliedPixel(*glow, edge - 12, row)[3], 0);
    EXPECT_LT(premultipliedPixel(*glow, edge, row)[3], 255);
}

TEST(PixBlurRoad, TheBackgroundStripIsBlurredAndDarkened) {
    auto strip = blurImage(*makeImage(40, 30, std::vector<Rgba>(40 * 30, {120, 180, 60, 255})), 20.0f, -0.1f);
    ASSERT_TRUE(strip);
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{20, 15}, std::pair{39, 29}}) {
        const Rgba pixel = premultipliedPixel(*strip, x, y);
        EXPECT_NEAR(pixel[0], 120 - 25.5, 1);
        EXPECT_NEAR(pixel[1], 180 - 25.5, 1);
        EXPECT_NEAR(pixel[2], 60 - 25.5, 1);
        EXPECT_EQ(pixel[3], 255);
    }
}

// The road's steps with the framework's default (interpolating) textures.
std::shared_ptr<const gfx::Image> blurredWithInterpolation(const gfx::Image& image, float blurSize,
                                                           float brightness) {
    auto picture = PixPicture::create(image);
    auto blur = PixGaussianBlurFilter::create();
    auto brightnessFilter = PixBrightnessFilter::create();
    blur->setBlurSize(blurSize);
    brightnessFilter->setBrightness(brightness);
    picture->addTarget(blur);
    blur->addTarget(brightnessFilter);
    picture->processImage();
    return brightnessFilter->imageFromCurrentlyProcessedOutput();
}

// The largest difference of any channel of any pixel of two images of the same size.
int largestDifference(const gfx::Image& first, const gfx::Image& second) {
    int largest = 0;
    for (int y = 0; y < first.pixelHeight(); ++y) {
        for (int x = 0; x < first.pixelWidth(); ++x) {
            const Rgba a = premultipliedPixel(first, x, y);
            const Rgba b = premultipliedPixel(second, x, y);
            for (int channel = 0; channel < 4; ++channel)
                largest = std::max(largest, std::abs(a[channel] - b[channel]));
        }
    }
    return largest;
}

TEST(PixBlurRoad, WholeBlurSizesGiveTheSameImageAsInterpolatedSampling) {
    std::vector<Rgba> pixels;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            pixels.push_back({static_cast<std::uint8_t>(x * 4), static_cast<std::uint8_t>((x * y) % 256),
                              static_cast<std::uint8_t>((x + y) % 2 ? 250 : 10), 255});
    const auto image = makeImage(64, 48, pixels);
    for (const float blurSize : {1.0f, 3.0f, 20.0f}) {
        EXPECT_LE(largestDifference(*blurImage(*image, blurSize, -0.1f),
                                    *blurredWithInterpolation(*image, blurSize, -0.1f)),
                  1)
            << "blur size " << blurSize;
    }
}

TEST(PixBlurRoad, TranslucentPixelsComeBackAsTheFiltersOneByOneGiveThem) {
    // Colours and alphas of every kind, transparent and opaque included, in stripes and steps that the
    // blur mixes.
    std::vector<Rgba> pixels;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 56; ++x) {
            const auto alpha = static_cast<std::uint8_t>((x / 4) % 3 == 0 ? 0 : (x * 37 + y * 11) % 256);
            pixels.push_back({static_cast<std::uint8_t>((x * 53) % 256), static_cast<std::uint8_t>(y * 6),
                              static_cast<std::uint8_t>((x + y) % 2 ? 240 : 20), alpha});
        }
    }
    const auto image = makeImage(56, 40, pixels);
    for (const float blurSize : {1.5f, 3.0f, 20.0f}) {
        for (const float brightness : {-0.1f, 0.0f, 0.3f, 1.0f}) {
            EXPECT_LE(largestDifference(*blurImage(*image, blurSize, brightness),
                                        *blurredWithInterpolation(*image, blurSize, brightness)),
                      1)
                << "blur size " << blurSize << ", brightness " << brightness;
        }
    }
}

TEST(PixBlurRoad, AKeptRoadBlursTheImageItIsGivenNotTheOneBefore) {
    // The same size each time: the second and third calls run on the road the first one kept.
    auto grey = makeImage(40, 40, std::vector<Rgba>(40 * 40, {120, 120, 120, 255}));
    auto content = contentOnTransparency(40, 8);
    const auto greyFirst = blurImage(*grey, 3.0f, -0.1f);
    const auto contentThen = blurImage(*content, 3.0f, -0.1f);
    const auto greyAgain = blurImage(*grey, 3.0f, -0.1f);
    ASSERT_TRUE(greyFirst && contentThen && greyAgain);
    EXPECT_EQ(premultipliedPixel(*contentThen, 0, 0)[3], 0);
    EXPECT_EQ(premultipliedPixel(*greyFirst, 0, 0)[3], 255);
    EXPECT_TRUE(sameImages(*greyFirst, *greyAgain));
    EXPECT_LE(largestDifference(*contentThen, *blurredWithInterpolation(*content, 3.0f, -0.1f)), 1);
}

TEST(PixBlurRoad, ARoadTooLargeToKeepIsReleasedAfterUseAndTheKeptOnesStay) {
    blurImage(*makeImage(24, 16, std::vector<Rgba>(24 * 16, {10, 20, 30, 255})), 3.0f, 1.0f);
    const std::size_t kept = keptBlurRoadBytes();
    ASSERT_GT(kept, 0u);
    ASSERT_LE(kept, kKeptRoadBytes);

    // Its picture, intermediate image and result alone pass what all kept roads may hold.
    constexpr int kSide = 1280;
    static_assert(std::size_t{12} * kSide * kSide > kKeptRoadBytes);
    const auto large = blurImage(*makeImage(kSide, kSide, std::vector<Rgba>(kSide * kSide, {90, 90, 90, 255})),
                                 20.0f, -0.1f);
    ASSERT_TRUE(large);
    EXPECT_EQ(large->pixelWidth(), kSide);
    EXPECT_NEAR(premultipliedPixel(*large, kSide / 2, kSide - 1)[0], 90 - 25.5, 1);
    EXPECT_EQ(keptBlurRoadBytes(), kept);
}

TEST(PixBlurRoad, AnImageWithoutPixelsGivesNone) {
    const gfx::Image empty(gfx::Bitmap::create(0, 0), 1);
    EXPECT_EQ(blurImage(empty, 3.0f, 1.0f), nullptr);
}

TEST(PixBlurRoad, TwoThreadsRunTheRoadAtOnce) {
    auto snapshot = contentOnTransparency(48, 20);
    auto screen = makeImage(32, 24, std::vector<Rgba>(32 * 24, {200, 200, 200, 255}));
    const auto glowAlone = blurImage(*snapshot, 3.0f, 1.0f);
    const auto stripAlone = blurImage(*screen, 20.0f, -0.1f);

    for (int round = 0; round < 4; ++round) {
        auto glow = std::async(std::launch::async, [&] { return blurImage(*snapshot, 3.0f, 1.0f); });
        auto strip = std::async(std::launch::async, [&] { return blurImage(*screen, 20.0f, -0.1f); });
        EXPECT_TRUE(sameImages(*glow.get(), *glowAlone)) << "round " << round;
        EXPECT_TRUE(sameImages(*strip.get(), *stripAlone)) << "round " << round;
    }
}

TEST(PixBlurRoad, ALargeSnapshotComesBackWholeWithTheBlursFramebuffersFreed) {
    // A 1024 x 768 screen at scale 2.
    auto snapshot = makeImage(2048, 1536, std::vector<Rgba>(2048 * 1536, {90, 90, 90, 255}), 2);
    auto picture = PixPicture::create(*snapshot);
    auto blur = PixGaussianBlurFilter::create();
    auto brightness = PixBrightnessFilter::create();
    blur->setBlurSize(20);
    brightness->setBrightness(-0.1f);
    picture->addTarget(blur);
    blur->addTarget(brightness);
    picture->processImage();

    auto image = brightness->imageFromCurrentlyProcessedOutput();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixelWidth(), 2048);
    EXPECT_EQ(image->pixelHeight(), 1536);
    EXPECT_EQ(image->scale(), 1.0f);
    EXPECT_EQ(blur->textureForOutput(), 0u); // conserving memory freed it once the brightness drew
}

} // namespace
} // namespace zm
