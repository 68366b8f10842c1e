#include "framework/Source/PixContext.h"
#include "framework/Source/PixCropFilter.h"
#include "framework/Source/PixLanczosResamplingFilter.h"
#include "framework/Source/PixPoissonBlendFilter.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/Source/PixToneCurveFilter.h"
#include "framework/Source/PixTransformFilter.h"
#include "platform/core/Log.h"

#include <cmath>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::pixelsNear;
using pixtest::PixTestImageSource;
using pixtest::Rgba;

constexpr Rgba kClear{0, 0, 0, 0};
constexpr Rgba kRed{255, 0, 0, 255};
constexpr Rgba kBlue{0, 0, 255, 255};

// Every pixel names where it is: red the column over 4, green the row over 4.
std::vector<Rgba> positions(int width, int height) {
    std::vector<Rgba> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back({static_cast<std::uint8_t>(x / 4), static_cast<std::uint8_t>(y / 4), 0, 255});
    return pixels;
}

// A picture whose left half is `left` and right half `right`.
std::vector<Rgba> halves(int width, int height, Rgba left, Rgba right) {
    std::vector<Rgba> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(x < width / 2 ? left : right);
    return pixels;
}

// The picture drawn through the filter, read back; `rotation` is how the filter is told to turn it.
gl::RgbaImage drawn(const std::shared_ptr<PixFilter>& filter, int width, int height, const std::vector<Rgba>& pixels,
                    PixInputRotation rotation = PixInputRotationNone) {
    auto picture = PixTestImageSource::create(width, height, pixels);
    picture->addTarget(filter);
    runSynchronouslyOnContextQueue([&] { filter->setInputRotation(rotation, 0); });
    picture->push();
    return filter->newImageFromCurrentlyProcessedOutput();
}

// The rectangle of the image, in pixels.
std::vector<Rgba> region(const gl::RgbaImage& image, int left, int top, int width, int height) {
    std::vector<Rgba> pixels;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            pixels.push_back(image.pixel(x, y));
    return pixels;
}

TEST(PixCropFilter, CutsItsRegionOutAtItsOwnSize) {
    auto crop = PixCropFilter::create({0.25f, 0.25f, 0.5f, 0.5f});
    const gl::RgbaImage middle = drawn(crop, 1000, 800, positions(1000, 800));
    ASSERT_EQ(middle.width, 500);
    ASSERT_EQ(middle.height, 400);
    std::vector<Rgba> expected;
    for (int y = 200; y < 600; ++y)
        for (int x = 250; x < 750; ++x)
            expected.push_back({static_cast<std::uint8_t>(x / 4), static_cast<std::uint8_t>(y / 4), 0, 255});
    EXPECT_TRUE(pixelsNear(middle, expected, 1));

    const std::vector<Rgba> card = pixtest::testCard(16, 12);
    EXPECT_TRUE(pixelsNear(drawn(PixCropFilter::create(), 16, 12, card), card, 1));
}

TEST(PixCropFilter, CropsTheUprightPictureOfATurnedInput) {
    // What an uncropped filter shows of the turned or mirrored input, cut on the processor, is what the
    // crop shows.
    const std::vector<Rgba> card = pixtest::testCard(16, 8);
    for (const PixInputRotation rotation : {PixInputRotationRotateRight, PixInputRotationRotateLeft, PixInputRotationFlipVertical,
                                            PixInputRotationRotate180, PixInputRotationRotateRightFlipHorizontal}) {
        const gl::RgbaImage upright = drawn(PixFilter::create(), 16, 8, card, rotation);
        const gl::RgbaImage cropped = drawn(PixCropFilter::create({0.25f, 0.5f, 0.5f, 0.5f}), 16, 8, card, rotation);
        ASSERT_EQ(cropped.width, upright.width / 2) << rotation;
        ASSERT_EQ(cropped.height, upright.height / 2) << rotation;
        EXPECT_TRUE(pixelsNear(cropped, region(upright, upright.width / 4, upright.height / 2, cropped.width, cropped.height), 1))
            << rotation;
    }
}

TEST(PixCropFilter, ARegionOutsideThePictureIsRefusedAndTheOldOneKept) {
    auto crop = PixCropFilter::create({0.5f, 0, 0.5f, 1});
    for (const core::Rect wrong : {core::Rect{-0.1f, 0, 0.5f, 0.5f}, core::Rect{0, 0, 1.5f, 1}, core::Rect{0, 2, 0.5f, 0.5f},
                                   core::Rect{0, 0, 0.5f, NAN}}) {
        core::LogCapture log;
        crop->setCropRegion(wrong);
        EXPECT_TRUE(log.contains("Invalid parameter not satisfying: newValue.origin.x >= 0 && newValue.origin.x <= 1 && "
                                 "newValue.origin.y >= 0 && newValue.origin.y <= 1 && newValue.size.width >= 0 && "
                                 "newValue.size.width <= 1 && newValue.size.height >= 0 && newValue.size.height <= 1"));
        EXPECT_EQ(crop->cropRegion(), (core::Rect{0.5f, 0, 0.5f, 1}));
    }
    EXPECT_TRUE(pixelsNear(drawn(crop, 8, 2, halves(8, 2, kRed, kBlue)), std::vector<Rgba>(8, kBlue), 1));
}

TEST(PixTransformFilter, DrawsThePictureThroughItsTransform) {
    const std::vector<Rgba> card = pixtest::testCard(16, 8);
    EXPECT_TRUE(pixelsNear(drawn(PixTransformFilter::create(), 16, 8, card), card, 1));

    // Halved about the top-left corner: the picture at half size in the top-left quarter, nothing else.
    std::vector<Rgba> quarters;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            quarters.push_back(y < 8 ? (x < 8 ? kRed : kBlue) : (x < 8 ? Rgba{0, 255, 0, 255} : Rgba{255, 255, 255, 255}));
    auto anchored = PixTransformFilter::create();
    anchored->setAnchorTopLeft(true);
    anchored->setAffineTransform({0.5f, 0, 0, 0.5f, 0, 0});
    const gl::RgbaImage halved = drawn(anchored, 16, 16, quarters);
    std::vector<Rgba> expected;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            expected.push_back(x >= 8 || y >= 8 ? kClear : quarters[static_cast<std::size_t>(y * 2 * 16 + x * 2)]);
    EXPECT_TRUE(pixelsNear(halved, expected, 1));

    const core::AffineTransform skewed{0.5f, 0.25f, -0.25f, 0.75f, 0.125f, -0.5f};
    anchored->setAffineTransform(skewed);
    const core::AffineTransform back = anchored->affineTransform();
    EXPECT_EQ((std::array{back.a, back.b, back.c, back.d, back.tx, back.ty}),
              (std::array{skewed.a, skewed.b, skewed.c, skewed.d, skewed.tx, skewed.ty}));
}

TEST(PixTransformFilter, AQuarterTurnKeepsThePicturesProportionsUnlessToldToIgnoreThem) {
    // 32 x 16, red on the left and blue on the right, turned a quarter about its centre.
    const std::vector<Rgba> picture = halves(32, 16, kRed, kBlue);
    for (const bool ignore : {false, true}) {
        auto turn = PixTransformFilter::create();
        turn->setIgnoreAspectRatio(ignore);
        turn->setAffineTransform({0, 1, -1, 0, 0, 0});
        const gl::RgbaImage turned = drawn(turn, 32, 16, picture);
        ASSERT_EQ(turned.width, 32);
        // Kept, the turned picture stands 16 pixels wide in the middle (its middle half of the height
        // showing); ignored, it is stretched over the whole frame. Either way one half is red, the other blue.
        const int left = ignore ? 0 : 8, right = ignore ? 32 : 24;
        const Rgba top = turned.pixel(16, 2), bottom = turned.pixel(16, 13);
        EXPECT_NE(top, bottom) << ignore;
        EXPECT_TRUE(top == kRed || top == kBlue) << ignore;
        EXPECT_TRUE(bottom == kRed || bottom == kBlue) << ignore;
        std::vector<Rgba> expected;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x)
                expected.push_back(x < left || x >= right ? kClear : y < 8 ? top : bottom);
        EXPECT_TRUE(pixelsNear(turned, expected, 1)) << "ignoreAspectRatio " << ignore;
    }
}

TEST(PixLanczosResamplingFilter, KeepsASmoothPictureAndResamplesARamp) {
    // Red rises 8 a column, green 16 a row.
    std::vector<Rgba> ramp;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x)
            ramp.push_back({static_cast<std::uint8_t>(8 * x), static_cast<std::uint8_t>(16 * y), 90, 255});

    auto same = PixLanczosResamplingFilter::create();
    same->forceProcessingAtSize({32, 16});
    // Away from the edges, where the taps beyond the picture repeat its edge.
    const gl::RgbaImage kept = drawn(same, 32, 16, ramp);
    EXPECT_TRUE(pixelsNear(pixtest::rgbaImage(24, 8, region(kept, 4, 4, 24, 8)),
                           region(pixtest::rgbaImage(32, 16, ramp), 4, 4, 24, 8), 2));

    // At half size an output pixel's centre falls between two input pixels: on a ramp, their mean,
    // wherever the nine taps stay inside the picture.
    auto half = PixLanczosResamplingFilter::create();
    half->forceProcessingAtSize({16, 8});
    const gl::RgbaImage halved = drawn(half, 32, 16, ramp);
    ASSERT_EQ(halved.width, 16);
    ASSERT_EQ(halved.height, 8);
    for (int y = 2; y < 6; ++y) {
        for (int x = 2; x < 14; ++x) {
            const Rgba pixel = halved.pixel(x, y);
            EXPECT_NEAR(pixel[0], 16 * x + 4, 2) << x << "," << y;
            EXPECT_NEAR(pixel[1], 32 * y + 8, 2) << x << "," << y;
            EXPECT_NEAR(pixel[2], 90, 2) << x << "," << y;
        }
    }
}

// Every filter of the family over a test card, with a patch pasted in by the Poisson blend.
TEST(PixCurveAndGeometryFilters, ContactSheet) {
    for (const auto& [width, height, name] : {std::tuple{96, 160, "curve-and-geometry-phone.png"},
                                              std::tuple{192, 144, "curve-and-geometry-tablet.png"}}) {
        const std::vector<Rgba> card = pixtest::testCard(width, height);
        pixtest::PixContactSheet sheet;
        sheet.add("test card", pixtest::rgbaImage(width, height, card));

        auto curve = PixToneCurveFilter::create();
        curve->setRgbCompositeControlPoints({{0, 0}, {0.25f, 0.15f}, {0.75f, 0.85f}, {1, 1}});
        curve->setBlueControlPoints({{0, 0.2f}, {1, 0.8f}});
        const gl::RgbaImage curved = drawn(curve, width, height, card);
        EXPECT_FALSE(pixelsNear(curved, card, 8)) << "the curves changed nothing";
        sheet.add("tone curve", curved);

        const gl::RgbaImage cropped = drawn(PixCropFilter::create({0.25f, 0.25f, 0.5f, 0.5f}), width, height, card);
        EXPECT_EQ(cropped.width, width / 2);
        sheet.add("crop", cropped);

        auto transform = PixTransformFilter::create();
        transform->setAffineTransform({0.6f, 0.35f, -0.35f, 0.6f, 0.1f, 0});
        const gl::RgbaImage transformed = drawn(transform, width, height, card);
        EXPECT_EQ(transformed.pixel(0, 0), kClear) << "the corner stays empty";
        sheet.add("transform", transformed);

        auto lanczos = PixLanczosResamplingFilter::create();
        lanczos->forceProcessingAtSize({width / 3.0f, height / 3.0f});
        const gl::RgbaImage resampled = drawn(lanczos, width, height, card);
        EXPECT_EQ(resampled.width, width / 3);
        sheet.add("lanczos to a third", resampled);

        // A patch of stripes, opaque in a square in the middle, pasted seamlessly.
        std::vector<Rgba> patch;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool inside = std::abs(x - width / 2) < width / 5 && std::abs(y - height / 2) < width / 5;
                const std::uint8_t stripe = (x / 3) % 2 ? 220 : 40;
                patch.push_back({stripe, stripe, stripe, static_cast<std::uint8_t>(inside ? 255 : 0)});
            }
        }
        auto poisson = PixPoissonBlendFilter::create();
        poisson->setMix(1);
        poisson->setNumIterations(30);
        auto base = PixTestImageSource::create(width, height, card);
        auto overlay = PixTestImageSource::create(width, height, patch);
        base->addTarget(poisson);
        overlay->addTarget(poisson);
        base->push();
        overlay->push();
        const gl::RgbaImage pasted = poisson->newImageFromCurrentlyProcessedOutput();
        EXPECT_TRUE(pixelsNear(pixtest::rgbaImage(width, 8, region(pasted, 0, 0, width, 8)), std::vector<Rgba>(card.begin(), card.begin() + width * 8), 1))
            << "outside the patch the picture stays";
        const Rgba centre = pasted.pixel(width / 2, height / 2), beside = pasted.pixel(width / 2 + 3, height / 2);
        EXPECT_GT(std::abs(centre[0] - beside[0]), 40) << "the stripes came through";
        sheet.add("poisson blend", pasted);

        sheet.write(name);
    }
}

} // namespace
} // namespace zm
