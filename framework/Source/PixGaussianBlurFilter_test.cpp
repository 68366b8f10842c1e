#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixPicture.h"
#include "framework/Source/PixTestSupport.h"

#include <cmath>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::makeImage;
using pixtest::pixelsNear;
using pixtest::Rgba;

constexpr float kWeights[9] = {0.05f, 0.09f, 0.12f, 0.15f, 0.18f, 0.15f, 0.12f, 0.09f, 0.05f};
const Rgba kBlack{0, 0, 0, 255};
const Rgba kWhite{255, 255, 255, 255};

gl::RgbaImage blurred(int width, int height, const std::vector<Rgba>& pixels, float blurSize) {
    auto picture = PixPicture::create(*makeImage(width, height, pixels));
    auto blur = PixGaussianBlurFilter::create();
    blur->setBlurSize(blurSize); // before the filter has seen any frame
    picture->addTarget(blur);
    picture->processImage();
    return blur->newImageFromCurrentlyProcessedOutput();
}

// A black square with one white line through its middle, across or down.
std::vector<Rgba> lineImage(int side, bool across) {
    std::vector<Rgba> pixels;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            pixels.push_back((across ? y : x) == side / 2 ? kWhite : kBlack);
    return pixels;
}

// The grey a line spreads to at `distance` pixels from it, with samples `spacing` pixels apart.
std::uint8_t spreadGrey(int distance, int spacing) {
    if (distance % spacing != 0 || std::abs(distance / spacing) > 4)
        return 0;
    return static_cast<std::uint8_t>(std::lround(255 * kWeights[distance / spacing + 4]));
}

TEST(PixGaussianBlurFilter, SizeZeroLeavesTheImageAsItIs) {
    std::vector<Rgba> pixels;
    for (int i = 0; i < 8 * 6; ++i)
        pixels.push_back({static_cast<std::uint8_t>(i * 5), static_cast<std::uint8_t>(255 - i * 3),
                          static_cast<std::uint8_t>(i * 37 % 256), 255});
    EXPECT_TRUE(pixelsNear(blurred(8, 6, pixels, 0), pixels, 1));
}

TEST(PixGaussianBlurFilter, SpreadsALineAcrossItWithNineSamplesSpacedByTheBlurSize) {
    // A line across spreads only vertically, a line down only horizontally: each pass keeps to its
    // axis although both run the same program.
    constexpr int kSide = 41;
    for (const int spacing : {1, 3}) {
        for (const bool across : {true, false}) {
            std::vector<Rgba> expected;
            for (int y = 0; y < kSide; ++y) {
                for (int x = 0; x < kSide; ++x) {
                    const std::uint8_t grey = spreadGrey((across ? y : x) - kSide / 2, spacing);
                    expected.push_back({grey, grey, grey, 255});
                }
            }
            EXPECT_TRUE(pixelsNear(
                blurred(kSide, kSide, lineImage(kSide, across), static_cast<float>(spacing)), expected, 2))
                << "spacing " << spacing << (across ? ", line across" : ", line down");
        }
    }
}

TEST(PixGaussianBlurFilter, SamplesPastTheEdgeTakeTheEdgePixel) {
    // Blurring a uniform image changes nothing, even at the border where samples fall outside.
    EXPECT_TRUE(pixelsNear(blurred(5, 5, std::vector<Rgba>(25, {90, 160, 30, 255}), 2),
                           std::vector<Rgba>(25, {90, 160, 30, 255}), 1));
}

} // namespace
} // namespace zm
