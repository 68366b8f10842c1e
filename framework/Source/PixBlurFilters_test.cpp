#include "framework/Source/GLProgram.h"
#include "framework/Source/Pix3x3ConvolutionFilter.h"
#include "framework/Source/PixBilateralFilter.h"
#include "framework/Source/PixBoxBlurFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixEmbossFilter.h"
#include "framework/Source/PixFastBlurFilter.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixGaussianBlurPositionFilter.h"
#include "framework/Source/PixGaussianSelectiveBlurFilter.h"
#include "framework/Source/PixLaplacianFilter.h"
#include "framework/Source/PixMedianFilter.h"
#include "framework/Source/PixMotionBlurFilter.h"
#include "framework/Source/PixSharpenFilter.h"
#include "framework/Source/PixSingleComponentFastBlurFilter.h"
#include "framework/Source/PixSingleComponentGaussianBlurFilter.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/Source/PixTiltShiftFilter.h"
#include "framework/Source/PixUnsharpMaskFilter.h"
#include "framework/Source/PixZoomBlurFilter.h"

#include <cmath>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::filtered;
using pixtest::made;
using pixtest::pixelsNear;
using pixtest::Rgba;
using Make = pixtest::MakeFilter;

TEST(PixBlurFilters, AFlatPictureStaysFlat) {
    const Rgba flat{90, 140, 200, 255};
    const std::pair<const char*, Make> members[] = {
        {"Gaussian", made<PixGaussianBlurFilter>([](auto& f) { f.setBlurSize(2); })},
        {"fast", made<PixFastBlurFilter>([](auto& f) { f.setBlurPasses(2); })},
        {"box", made<PixBoxBlurFilter>()},
        {"bilateral", made<PixBilateralFilter>()},
        {"position", made<PixGaussianBlurPositionFilter>()},
        {"motion", made<PixMotionBlurFilter>([](auto& f) { f.setBlurAngle(30); })},
        {"zoom", made<PixZoomBlurFilter>([](auto& f) { f.setBlurSize(5); })},
        {"selective", made<PixGaussianSelectiveBlurFilter>()},
        {"tilt shift", made<PixTiltShiftFilter>()},
        {"unsharp mask", made<PixUnsharpMaskFilter>([](auto& f) { f.setIntensity(3); })},
        {"median", made<PixMedianFilter>()},
        {"sharpen", made<PixSharpenFilter>([](auto& f) { f.setSharpness(2); })},
        {"emboss", made<PixEmbossFilter>()},
    };
    for (const auto& [name, make] : members)
        EXPECT_TRUE(pixelsNear(filtered(make(), 5, 5, std::vector<Rgba>(25, flat)), std::vector<Rgba>(25, flat))) << name;
    // The single-component blurs give the red channel in grey.
    for (const Make& make : {made<PixSingleComponentFastBlurFilter>(), made<PixSingleComponentGaussianBlurFilter>()})
        EXPECT_TRUE(pixelsNear(filtered(make(), 5, 5, std::vector<Rgba>(25, flat)), std::vector<Rgba>(25, {90, 90, 90, 255})));
}

// A 9 x 9 black picture with one white pixel in the middle.
std::vector<Rgba> brightDot() {
    std::vector<Rgba> pixels(81, {0, 0, 0, 255});
    pixels[40] = {255, 255, 255, 255};
    return pixels;
}

// The dot blurred by a separable kernel with these texel weights (offsets -4 to 4), the vertical pass
// rounded to whole levels before the horizontal one, as the framebuffer between them keeps it.
std::vector<Rgba> blurredDot(const double (&weights)[9]) {
    std::vector<Rgba> pixels;
    for (int y = 0; y < 9; ++y) {
        const double column = std::round(255 * weights[y]);
        for (int x = 0; x < 9; ++x) {
            const auto level = static_cast<std::uint8_t>(std::round(column * weights[x]));
            pixels.push_back({level, level, level, 255});
        }
    }
    return pixels;
}

TEST(PixBlurFilters, ADotSpreadsByEachBlursWeights) {
    // The fast blur's samples between texels split their weights: 1.3846 steps out is 0.6154 of texel 1
    // and 0.3846 of texel 2, 3.2308 steps is 0.7692 of texel 3 and 0.2308 of texel 4.
    const double fast1 = 0.3162162162 * (2 - 1.3846153846), fast2 = 0.3162162162 * (1.3846153846 - 1);
    const double fast3 = 0.0702702703 * (4 - 3.2307692308), fast4 = 0.0702702703 * (3.2307692308 - 3);
    const double gaussian[9] = {0.05, 0.09, 0.12, 0.15, 0.18, 0.15, 0.12, 0.09, 0.05};
    const double fast[9] = {fast4, fast3, fast2, fast1, 0.2270270270, fast1, fast2, fast3, fast4};
    const double box[9] = {0.1, 0.1, 0.1, 0.1, 0.2, 0.1, 0.1, 0.1, 0.1};
    EXPECT_TRUE(pixelsNear(filtered(PixGaussianBlurFilter::create(), 9, 9, brightDot()), blurredDot(gaussian))) << "Gaussian";
    EXPECT_TRUE(pixelsNear(filtered(PixFastBlurFilter::create(), 9, 9, brightDot()), blurredDot(fast))) << "fast";
    EXPECT_TRUE(pixelsNear(filtered(PixBoxBlurFilter::create(), 9, 9, brightDot()), blurredDot(box))) << "box";
}

TEST(PixBlurFilters, ThreeFastBlurPassesAreThreeFastBlursInARow) {
    std::vector<Rgba> card = pixtest::testCard(9, 9);
    auto repeated = PixFastBlurFilter::create();
    repeated->setBlurPasses(3);
    auto first = PixFastBlurFilter::create(), second = PixFastBlurFilter::create(), third = PixFastBlurFilter::create();
    first->addTarget(second);
    second->addTarget(third);
    filtered(first, 9, 9, card);
    const gl::RgbaImage inARow = third->newImageFromCurrentlyProcessedOutput();
    std::vector<Rgba> expected;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            expected.push_back(inARow.pixel(x, y));
    EXPECT_TRUE(pixelsNear(filtered(repeated, 9, 9, card), expected, 1));
}

TEST(PixBlurFilters, NeighbourhoodsAsWorkedOutByHand) {
    const Rgba grey{100, 100, 100, 255};
    std::vector<Rgba> outlier(9, grey);
    outlier[4] = {255, 255, 255, 255};
    // Black on the left four columns, white on the other five: a strong edge.
    std::vector<Rgba> edge;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            edge.push_back(x < 4 ? Rgba{0, 0, 0, 255} : Rgba{255, 255, 255, 255});
    // Columns of 100, 110 and 120.
    std::vector<Rgba> ramp;
    for (int y = 0; y < 3; ++y)
        for (const std::uint8_t level : {100, 110, 120})
            ramp.push_back({level, level, level, 255});
    const std::vector<Rgba> card = pixtest::testCard(9, 9);
    struct Case {
        const char* name;
        Make make;
        int side;
        std::vector<Rgba> input, expected;
    };
    const Case cases[] = {
        {"the median drops an outlier", made<PixMedianFilter>(), 3, outlier, std::vector<Rgba>(9, grey)},
        {"the bilateral blur gives the far side of an edge no weight", made<PixBilateralFilter>(), 9, edge, edge},
        {"the identity kernel", made<Pix3x3ConvolutionFilter>(), 9, card, card},
        {"the Laplacian of a flat picture", made<PixLaplacianFilter>(), 3, std::vector<Rgba>(9, grey),
         std::vector<Rgba>(9, {128, 128, 128, 255})},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(pixelsNear(filtered(c.make(), c.side, c.side, c.input), c.expected)) << c.name;

    // Emboss at intensity 1 in the middle of the columns: -3 x 100 + 110 + 3 x 120.
    const gl::RgbaImage embossed = filtered(PixEmbossFilter::create(), 3, 3, ramp);
    EXPECT_NEAR(embossed.pixel(1, 1)[0], 170, 2);
}

// The value a uniform of the filter's program holds now.
std::array<float, 2> uniformPair(const PixFilter& filter, const char* name) {
    std::array<float, 2> value{};
    runSynchronouslyOnContextQueue([&] {
        PixContext::setActiveShaderProgram(filter.filterProgram());
        glGetUniformfv(filter.filterProgram()->program(), filter.filterProgram()->uniformIndex(name), value.data());
    });
    return value;
}

TEST(PixBlurFilters, PropertiesReachWhatTheyShape) {
    // The motion blur's step at 90 degrees on 100 x 50.
    auto motion = PixMotionBlurFilter::create();
    motion->setBlurAngle(90);
    runSynchronouslyOnContextQueue([&] { motion->setInputSize({100, 50}, 0); });
    const auto step = uniformPair(*motion, "directionalTexelStep");
    EXPECT_NEAR(step[0], 0, 1e-6);
    EXPECT_NEAR(step[1], 0.025, 1e-6);

    // A blur size sets both spacings.
    auto fast = PixFastBlurFilter::create();
    auto box = PixBoxBlurFilter::create();
    auto position = PixGaussianBlurPositionFilter::create();
    for (PixSeparableBlurFilter* blur : {static_cast<PixSeparableBlurFilter*>(fast.get()), static_cast<PixSeparableBlurFilter*>(box.get()),
                                         static_cast<PixSeparableBlurFilter*>(position.get())}) {
        blur->setBlurSize(2);
        EXPECT_EQ(blur->verticalTexelSpacing(), 2);
        EXPECT_EQ(blur->horizontalTexelSpacing(), 2);
    }

    // The position blur keeps its circle round: height over width, across a quarter turn.
    runSynchronouslyOnContextQueue([&] { position->setInputSize({640, 480}, 0); });
    EXPECT_FLOAT_EQ(position->aspectRatio(), 0.75f);
    runSynchronouslyOnContextQueue([&] {
        position->setInputRotation(PixInputRotationRotateLeft, 0);
        position->setInputSize({480, 640}, 0);
    });
    EXPECT_FLOAT_EQ(position->aspectRatio(), 4.0f / 3);

    // The selective blur's follows the input until set by hand.
    auto selective = PixGaussianSelectiveBlurFilter::create();
    runSynchronouslyOnContextQueue([&] { selective->setInputSize({640, 480}, 0); });
    EXPECT_FLOAT_EQ(selective->aspectRatio(), 4.0f / 3);
    selective->setAspectRatio(2);
    runSynchronouslyOnContextQueue([&] { selective->setInputSize({300, 100}, 0); });
    EXPECT_FLOAT_EQ(selective->aspectRatio(), 2);
}

TEST(PixBlurFilters, EveryMemberChangesTheTestCard) {
    constexpr int kWidth = 64, kHeight = 48;
    const std::vector<Rgba> card = pixtest::testCard(kWidth, kHeight);
    const std::pair<const char*, Make> members[] = {
        {"Gaussian", made<PixGaussianBlurFilter>([](auto& f) { f.setBlurSize(2); })},
        {"fast", made<PixFastBlurFilter>([](auto& f) { f.setBlurPasses(2); })},
        {"box", made<PixBoxBlurFilter>([](auto& f) { f.setBlurSize(2); })},
        {"single fast", made<PixSingleComponentFastBlurFilter>()},
        {"single Gaussian", made<PixSingleComponentGaussianBlurFilter>()},
        {"bilateral", made<PixBilateralFilter>([](auto& f) { f.setDistanceNormalizationFactor(2); })},
        {"position", made<PixGaussianBlurPositionFilter>([](auto& f) { f.setBlurSize(3); f.setBlurRadius(0.3f); })},
        {"motion", made<PixMotionBlurFilter>([](auto& f) { f.setBlurAngle(45); })},
        {"zoom", made<PixZoomBlurFilter>([](auto& f) { f.setBlurSize(4); })},
        {"selective", made<PixGaussianSelectiveBlurFilter>()},
        {"tilt shift", made<PixTiltShiftFilter>()},
        {"unsharp mask", made<PixUnsharpMaskFilter>([](auto& f) { f.setIntensity(4); })},
        {"median", made<PixMedianFilter>()},
        {"sharpen", made<PixSharpenFilter>([](auto& f) { f.setSharpness(2); })},
        {"3x3 convolution", made<Pix3x3ConvolutionFilter>([](auto& f) {
             f.setConvolutionKernel({{-1, 0, 1}, {-2, 0, 2}, {-1, 0, 1}});
         })},
        {"emboss", made<PixEmbossFilter>()},
        {"Laplacian", made<PixLaplacianFilter>()},
    };
    pixtest::PixContactSheet sheet;
    sheet.add("test card", pixtest::rgbaImage(kWidth, kHeight, card));
    for (const auto& [name, make] : members) {
        const gl::RgbaImage output = filtered(make(), kWidth, kHeight, card);
        sheet.add(name, output);
        EXPECT_FALSE(pixelsNear(output, card, 8)) << name << " left the test card as it was";
    }
    sheet.write("blur-filters.png");
}

} // namespace
} // namespace zm
