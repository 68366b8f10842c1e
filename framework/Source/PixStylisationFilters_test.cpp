#include "framework/Source/GLProgram.h"
#include "framework/Source/PixBloomFilter.h"
#include "framework/Source/PixCGAColorspaceFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixCrosshatchFilter.h"
#include "framework/Source/PixKuwaharaFilter.h"
#include "framework/Source/PixKuwaharaRadius3Filter.h"
#include "framework/Source/PixMosaicFilter.h"
#include "framework/Source/PixPosterizeFilter.h"
#include "framework/Source/PixSketchFilter.h"
#include "framework/Source/PixSmoothToonFilter.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/Source/PixThresholdSketchFilter.h"
#include "framework/Source/PixToonFilter.h"
#include "framework/Source/PixVignetteFilter.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::filtered;
using pixtest::made;
using pixtest::MakeFilter;
using pixtest::pixelsNear;
using pixtest::PixTestImageSource;
using pixtest::Rgba;

Rgba grey(std::uint8_t level) {
    return {level, level, level, 255};
}

TEST(PixStylisationFilters, ColourEachPixelAsWorkedOutByHand) {
    struct Case {
        const char* name;
        MakeFilter make;
        int width, height;
        std::vector<Rgba> input, expected;
    };
    const Rgba black = grey(0), white = grey(255);
    const Rgba warm{90, 140, 200, 128};
    const std::vector<Rgba> flatWarm(49, warm), flatOpaqueWarm(49, {90, 140, 200, 255});
    // A vertical step from 0.2 to 1 between the second and third columns of three rows.
    std::vector<Rgba> step, stepOutlined, stepSketched;
    for (int row = 0; row < 3; ++row) {
        step.insert(step.end(), {grey(51), grey(51), white, white});
        stepOutlined.insert(stepOutlined.end(), {grey(51), black, black, white});
        stepSketched.insert(stepSketched.end(), {white, black, black, white});
    }
    const std::vector<Rgba> fourColours{{200, 100, 30, 255}, {0, 255, 128, 200}, {127, 128, 0, 255}, {255, 255, 255, 255}};
    const Case cases[] = {
        // 100, 150 and 200 of 255 are 3.92, 5.88 and 7.84 tenths: 4, 6 and 8 tenths.
        {"toon of a flat colour", made<PixToonFilter>(), 3, 3, std::vector<Rgba>(9, {100, 150, 200, 255}),
         std::vector<Rgba>(9, {102, 153, 204, 255})},
        {"toon outlines a step", made<PixToonFilter>(), 4, 3, step, stepOutlined},
        {"toon above any gradient, 1 level",
         made<PixToonFilter>([](auto& f) { f.setThreshold(10); f.setQuantizationLevels(1); }), 2, 2, fourColours,
         {{255, 0, 0, 255}, {0, 255, 255, 200}, {0, 255, 0, 255}, {255, 255, 255, 255}}},
        {"toon without levels acts as 1 level",
         made<PixToonFilter>([](auto& f) { f.setThreshold(10); f.setQuantizationLevels(0); }), 2, 2, fourColours,
         {{255, 0, 0, 255}, {0, 255, 255, 200}, {0, 255, 0, 255}, {255, 255, 255, 255}}},
        {"smooth toon of a flat colour", made<PixSmoothToonFilter>(), 3, 3, std::vector<Rgba>(9, {100, 150, 200, 255}),
         std::vector<Rgba>(9, {102, 153, 204, 255})},
        {"sketch of a flat picture", made<PixSketchFilter>(), 3, 3, std::vector<Rgba>(9, grey(90)),
         std::vector<Rgba>(9, white)},
        {"sketch of a step", made<PixSketchFilter>(), 4, 3, step, stepSketched},
        // Rows 0, 0.149 and 0.302: only the middle pixel's bottom - top reaches 0.25.
        {"threshold sketch", made<PixThresholdSketchFilter>(), 1, 3, {grey(0), grey(38), grey(77)},
         {white, black, white}},
        {"Kuwahara of a flat colour", made<PixKuwaharaFilter>(), 7, 7, flatWarm, flatOpaqueWarm},
        {"Kuwahara of radius 1", made<PixKuwaharaFilter>([](auto& f) { f.setRadius(1); }), 7, 7, flatWarm,
         flatOpaqueWarm},
        {"Kuwahara of radius 3, unrolled", made<PixKuwaharaRadius3Filter>(), 7, 7, flatWarm, flatOpaqueWarm},
        {"posterize to 10 levels", made<PixPosterizeFilter>(), 1, 1, {{100, 150, 200, 255}}, {{102, 153, 204, 255}}},
        // Alpha too: 100 of 255 is below a half.
        {"posterize to 1 level", made<PixPosterizeFilter>([](auto& f) { f.setColorLevels(1); }), 2, 1,
         {{127, 128, 0, 255}, {255, 10, 200, 100}}, {{0, 255, 0, 255}, {255, 0, 255, 0}}},
        {"posterize to no levels acts as 1", made<PixPosterizeFilter>([](auto& f) { f.setColorLevels(0); }), 1, 1,
         {{127, 128, 0, 255}}, {{0, 255, 0, 255}}},
        // Mid grey is 0.53 from cyan and magenta and 0.75 from black and white: cyan comes first.
        {"CGA", made<PixCGAColorspaceFilter>(), 2, 2, {grey(128), grey(240), grey(20), {255, 60, 255, 255}},
         {{85, 255, 255, 255}, white, black, {255, 85, 255, 255}}},
        // Distances from the middle: 0 at the centre, 1/3 beside it (smoothstep 0.126 between 0.3 and
        // 0.45), 0.47 at the corners.
        {"vignette",
         made<PixVignetteFilter>([](auto& f) {
             f.setVignetteColor({0, 0, 1});
             f.setVignetteStart(0.3f);
             f.setVignetteEnd(0.45f);
         }),
         3, 3, std::vector<Rgba>(9, {200, 100, 50, 255}),
         {{0, 0, 255, 255}, {175, 87, 76, 255}, {0, 0, 255, 255},
          {175, 87, 76, 255}, {200, 100, 50, 255}, {175, 87, 76, 255},
          {0, 0, 255, 255}, {175, 87, 76, 255}, {0, 0, 255, 255}}},
        // 48 samples of a flat 0.2 sum to 12 x 0.2 = 2.4: 0.2 + 2.4² x 0.012 = 0.269. Red decides the
        // weight for every channel: at red 0.6, green 0.2 gains 2.4² x 0.0075.
        {"bloom of a dark grey", made<PixBloomFilter>(), 3, 3, std::vector<Rgba>(9, grey(51)), std::vector<Rgba>(9, grey(69))},
        {"bloom of a bright red", made<PixBloomFilter>(), 3, 3, std::vector<Rgba>(9, {153, 51, 0, 255}),
         std::vector<Rgba>(9, {252, 62, 0, 255})},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(pixelsNear(filtered(c.make(), c.width, c.height, c.input), c.expected)) << c.name;
}

// The value a uniform of the filter's program holds now, once the writes queued before are done.
float uniformValue(const PixFilter& filter, const char* name) {
    float value = 0;
    runSynchronouslyOnContextQueue([&] {
        PixContext::setActiveShaderProgram(filter.filterProgram());
        glGetUniformfv(filter.filterProgram()->program(), filter.filterProgram()->uniformIndex(name), &value);
    });
    return value;
}

TEST(PixStylisationFilters, SettersHoldTheirValuesToWhatTheShadersCanUse) {
    auto crosshatch = PixCrosshatchFilter::create();
    crosshatch->setCrossHatchSpacing(0);
    EXPECT_FLOAT_EQ(crosshatch->crossHatchSpacing(), 1.0f / 2048);
    auto source = PixTestImageSource::filled(8, 2, grey(0));
    source->addTarget(crosshatch);
    source->push();
    crosshatch->setCrossHatchSpacing(0);
    EXPECT_FLOAT_EQ(crosshatch->crossHatchSpacing(), 1.0f / 8);
    EXPECT_FLOAT_EQ(uniformValue(*crosshatch, "crossHatchSpacing"), 1.0f / 8);
    crosshatch->setCrossHatchSpacing(0.5f);
    EXPECT_FLOAT_EQ(uniformValue(*crosshatch, "crossHatchSpacing"), 0.5f);

    auto mosaic = PixMosaicFilter::create();
    mosaic->setInputTileSize({2, -1});
    EXPECT_EQ(mosaic->inputTileSize(), (core::Size{1, 0}));
    mosaic->setDisplayTileSize({0.5f, 3});
    EXPECT_EQ(mosaic->displayTileSize(), (core::Size{0.5f, 1}));
    mosaic->setColorOn(false);
    EXPECT_FALSE(mosaic->colorOn());

    auto kuwahara = PixKuwaharaFilter::create();
    kuwahara->setRadius(1'000'000);
    EXPECT_EQ(kuwahara->radius(), PixKuwaharaFilter::kLargestRadius);
}

TEST(PixStylisationFilters, TheMosaicTakesTheSizeOfItsPictureAndTilesFromTheSet) {
    auto mosaic = PixMosaicFilter::create();
    mosaic->setColorOn(false);
    const gl::RgbaImage whiteMosaic = filtered(mosaic, 40, 24, std::vector<Rgba>(40 * 24, grey(255)));
    ASSERT_EQ(whiteMosaic.width, 40);
    ASSERT_EQ(whiteMosaic.height, 24);

    // One cell over the whole of a black picture: the darkest tile, black with a small white hole in its
    // middle. A cell darker than the last tile takes the last tile, not what lies past the set.
    mosaic = PixMosaicFilter::create();
    mosaic->setColorOn(false);
    mosaic->setDisplayTileSize({1, 1});
    const gl::RgbaImage darkest = filtered(mosaic, 256, 256, std::vector<Rgba>(256 * 256, grey(0)));
    ASSERT_EQ(darkest.width, 256);
    EXPECT_EQ(darkest.pixel(128, 128), grey(255));
    EXPECT_EQ(darkest.pixel(10, 10), grey(0));

    // A set that cannot be read leaves the tiles as they were.
    mosaic->setTileSet("no-such-tile-set.png");
    EXPECT_EQ(filtered(mosaic, 256, 256, std::vector<Rgba>(256 * 256, grey(0))).pixel(128, 128), grey(255));
}

TEST(PixStylisationFilters, EveryMemberChangesTheTestCard) {
    constexpr int kWidth = 192, kHeight = 144;
    const std::vector<Rgba> card = pixtest::testCard(kWidth, kHeight);
    const std::pair<const char*, MakeFilter> members[] = {
        {"toon", made<PixToonFilter>()},
        {"smooth toon", made<PixSmoothToonFilter>()},
        {"sketch", made<PixSketchFilter>()},
        {"threshold sketch", made<PixThresholdSketchFilter>()},
        {"Kuwahara", made<PixKuwaharaFilter>([](auto& f) { f.setRadius(5); })},
        {"Kuwahara radius 3", made<PixKuwaharaRadius3Filter>()},
        {"posterize", made<PixPosterizeFilter>([](auto& f) { f.setColorLevels(3); })},
        {"crosshatch", made<PixCrosshatchFilter>()},
        {"CGA", made<PixCGAColorspaceFilter>()},
        {"vignette", made<PixVignetteFilter>()},
        {"bloom", made<PixBloomFilter>()},
        {"mosaic", made<PixMosaicFilter>()},
    };
    pixtest::PixContactSheet sheet;
    sheet.add("test card", pixtest::rgbaImage(kWidth, kHeight, card));
    for (const auto& [name, make] : members) {
        const gl::RgbaImage output = filtered(make(), kWidth, kHeight, card);
        sheet.add(name, output);
        EXPECT_FALSE(pixelsNear(output, card, 8)) << name << " left the test card as it was";
    }
    sheet.write("stylisation-filters.png");
}

} // namespace
} // namespace zm
