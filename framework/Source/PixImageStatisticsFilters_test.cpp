#include "framework/Source/PixAdaptiveThresholdFilter.h"
#include "framework/Source/PixAverageColor.h"
#include "framework/Source/PixAverageLuminanceThresholdFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixHistogramFilter.h"
#include "framework/Source/PixHistogramGenerator.h"
#include "framework/Source/PixLuminosity.h"
#include "framework/Source/PixTestSupport.h"

#include <cmath>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::filtered;
using pixtest::pixelsNear;
using pixtest::PixTestImageSource;
using pixtest::Rgba;

Rgba grey(std::uint8_t level) {
    return {level, level, level, 255};
}

// Left half one colour, right half another.
std::vector<Rgba> halves(int width, int height, Rgba left, Rgba right) {
    std::vector<Rgba> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(x < width / 2 ? left : right);
    return pixels;
}

// Pushes one frame of the pixels to the filter and waits until it is processed.
void pushFrame(const std::shared_ptr<PixInput>& filter, int width, int height, const std::vector<Rgba>& pixels) {
    auto source = PixTestImageSource::create(width, height, pixels);
    source->addTarget(filter);
    source->push();
    runSynchronouslyOnContextQueue([] {});
}

TEST(PixImageStatisticsFilters, StagesQuarterTheFrameWhileTwoPixelsAreLeft) {
    const struct {
        core::Size input;
        std::vector<core::Size> stages;
    } cases[] = {
        {{640, 480}, {{160, 120}, {40, 30}, {10, 7}}},
        {{8, 8}, {{2, 2}}},
        {{16, 64}, {{4, 16}}},
        {{7, 100}, {}},
        {{0, 0}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PixAverageColor::stageSizesForInputSize(c.input), c.stages) << c.input.width << "x" << c.input.height;
}

TEST(PixImageStatisticsFilters, AveragesAsWorkedOutByHand) {
    struct Report {
        float red = -1, green = -1, blue = -1, alpha = -1, luminosity = -1;
    };
    const struct {
        const char* name;
        int width, height;
        std::vector<Rgba> pixels;
        Report expected;
    } cases[] = {
        {"white", 64, 64, std::vector<Rgba>(64 * 64, grey(255)), {1, 1, 1, 1, 1}},
        {"a flat colour", 40, 24, std::vector<Rgba>(40 * 24, {51, 102, 204, 128}),
         {0.2f, 0.4f, 0.8f, 128 / 255.0f, 0.2125f * 0.2f + 0.7154f * 0.4f + 0.0721f * 0.8f}},
        {"half black, half white", 64, 64, halves(64, 64, grey(0), grey(255)), {0.5f, 0.5f, 0.5f, 1, 0.5f}},
        // A larger frame after smaller ones: the stages and the read-back grow with it.
        {"640 x 480 of grey", 640, 480, std::vector<Rgba>(640 * 480, grey(102)), {0.4f, 0.4f, 0.4f, 1, 0.4f}},
    };
    auto average = PixAverageColor::create();
    auto luminosity = PixLuminosity::create();
    Report report;
    average->setColorAverageProcessingFinishedBlock([&](float r, float g, float b, float a, PixFrameTime) {
        report.red = r, report.green = g, report.blue = b, report.alpha = a;
    });
    luminosity->setLuminosityProcessingFinishedBlock([&](float value, PixFrameTime) { report.luminosity = value; });
    for (const auto& c : cases) {
        report = {};
        pushFrame(average, c.width, c.height, c.pixels);
        pushFrame(luminosity, c.width, c.height, c.pixels);
        constexpr float kTolerance = 2.5f / 255;
        EXPECT_NEAR(report.red, c.expected.red, kTolerance) << c.name;
        EXPECT_NEAR(report.green, c.expected.green, kTolerance) << c.name;
        EXPECT_NEAR(report.blue, c.expected.blue, kTolerance) << c.name;
        EXPECT_NEAR(report.alpha, c.expected.alpha, kTolerance) << c.name;
        EXPECT_NEAR(report.luminosity, c.expected.luminosity, kTolerance) << c.name;
    }
    // Under 8 pixels either way there is nothing to reduce: not a number.
    pushFrame(average, 7, 64, std::vector<Rgba>(7 * 64, grey(255)));
    pushFrame(luminosity, 64, 7, std::vector<Rgba>(64 * 7, grey(255)));
    EXPECT_TRUE(std::isnan(report.red) && std::isnan(report.alpha) && std::isnan(report.luminosity));
}

// The middle row of a histogram's 256 x 3 picture, one level per column.
std::vector<Rgba> middleRow(const gl::RgbaImage& histogram) {
    std::vector<Rgba> row;
    for (int x = 0; x < histogram.width; ++x)
        row.push_back(histogram.pixel(x, 1));
    return row;
}

TEST(PixImageStatisticsFilters, HistogramsCountTheSampledPixels) {
    // 16 x 16 pixels, every 16th sampled: 16 samples, each 1/256 of full, in one column.
    const gl::RgbaImage luminance =
        filtered(PixHistogramFilter::create(kPixHistogramLuminance), 16, 16, std::vector<Rgba>(256, grey(128)));
    ASSERT_EQ(luminance.width, 256);
    ASSERT_EQ(luminance.height, 3);
    const std::vector<Rgba> row = middleRow(luminance);
    int filledColumn = -1;
    for (int level = 0; level < 256; ++level) {
        if (row[level][0] == 0)
            continue;
        EXPECT_EQ(filledColumn, -1) << "a second filled column at " << level;
        filledColumn = level;
        EXPECT_NEAR(row[level][0], 16, 1);
        EXPECT_EQ(row[level][0], row[level][1]);
    }
    EXPECT_NEAR(filledColumn, 128, 1);

    // All three channels, each in its own colour at its own value.
    const std::vector<Rgba> rgb = middleRow(filtered(PixHistogramFilter::create(kPixHistogramRGB), 16, 16,
                                                     std::vector<Rgba>(256, {40, 120, 200, 255})));
    const auto countsNear = [&](int level, int channel) {
        int count = 0;
        for (int column = level - 1; column <= level + 1; ++column)
            count += rgb[column][channel];
        return count;
    };
    EXPECT_NEAR(countsNear(40, 0), 16, 1);
    EXPECT_NEAR(countsNear(120, 1), 16, 1);
    EXPECT_NEAR(countsNear(200, 2), 16, 1);
    EXPECT_EQ(countsNear(40, 1) + countsNear(40, 2) + countsNear(120, 0) + countsNear(200, 0), 0);

    // 256 x 256 at factor 16 samples 4096 pixels: pixel 16k holds level k mod 256, so each level gets 16.
    std::vector<Rgba> ramp;
    for (int index = 0; index < 256 * 256; ++index)
        ramp.push_back(grey(static_cast<std::uint8_t>(index / 16 % 256)));
    const std::vector<Rgba> spread = middleRow(filtered(PixHistogramFilter::create(kPixHistogramRed), 256, 256, ramp));
    int total = 0;
    for (const Rgba& column : spread)
        total += column[0];
    EXPECT_NEAR(total, 4096, 64);
    EXPECT_NEAR(spread[100][0] + spread[101][0], 32, 2);
}

TEST(PixImageStatisticsFilters, TheGeneratorDrawsEachColumnsCountAsABar) {
    // A histogram picture whose column x holds x in red and 255 - x in green.
    std::vector<Rgba> counts;
    for (int row = 0; row < 3; ++row)
        for (int x = 0; x < 256; ++x)
            counts.push_back({static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(255 - x), 0, 255});
    auto generator = PixHistogramGenerator::create();
    generator->forceProcessingAtSize({256, 100});
    const gl::RgbaImage chart = filtered(generator, 256, 3, counts);
    ASSERT_EQ(chart.height, 100);
    // Bars stand on the bottom row: at column 230 the red bar reaches 90 % of the height, green 10 %.
    EXPECT_EQ(chart.pixel(230, 95), (Rgba{255, 255, 0, 255}));
    EXPECT_EQ(chart.pixel(230, 50), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(chart.pixel(230, 5), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(chart.pixel(25, 50), (Rgba{0, 255, 0, 255}));
}

TEST(PixImageStatisticsFilters, ThresholdsFollowThePicture) {
    const Rgba black = grey(0), white = grey(255);
    // Halves of 0.2 and 0.4 average 0.3: the brighter half passes, where a fixed 0.5 would pass neither.
    EXPECT_TRUE(pixelsNear(filtered(PixAverageLuminanceThresholdFilter::create(), 16, 16, halves(16, 16, grey(51), grey(102))),
                           halves(16, 16, black, white)));
    EXPECT_TRUE(pixelsNear(filtered(PixAverageLuminanceThresholdFilter::create(), 16, 16, halves(16, 16, black, white)),
                           halves(16, 16, black, white)));
    auto doubled = PixAverageLuminanceThresholdFilter::create();
    doubled->setThresholdMultiplier(2);
    EXPECT_FLOAT_EQ(doubled->thresholdMultiplier(), 2);
    EXPECT_TRUE(pixelsNear(filtered(doubled, 16, 16, halves(16, 16, grey(51), grey(102))), halves(16, 16, black, black)));

    // Two dark strokes on a page lit more and more from left to right: the strokes are black, the page
    // white, though the right stroke is brighter than the page on the left.
    constexpr int kSide = 12;
    std::vector<Rgba> page, expected;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const bool stroke = x == 3 || x == 8;
            const auto paper = static_cast<std::uint8_t>(80 + 12 * x);
            page.push_back(grey(stroke ? static_cast<std::uint8_t>(paper - 60) : paper));
            expected.push_back(stroke ? black : white);
        }
    }
    EXPECT_TRUE(pixelsNear(filtered(PixAdaptiveThresholdFilter::create(), kSide, kSide, page), expected));
}

} // namespace
} // namespace zm
