#include "framework/Source/PixColorPackingFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixHistogramFilter.h"
#include "framework/Source/PixHistogramGenerator.h"
#include "framework/Source/PixHarrisCornerDetectionFilter.h"
#include "framework/Source/PixHoughTransformLineDetector.h"
#include "framework/Source/PixLocalBinaryPatternFilter.h"
#include "framework/Source/PixNobleCornerDetectionFilter.h"
#include "framework/Source/PixShiTomasiFeatureDetectionFilter.h"
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

// Straight RGBA bytes of a black picture with the given pixels lit.
std::vector<std::uint8_t> litPixels(int width, int height, const std::vector<std::pair<int, int>>& lit) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * height * 4, 0);
    for (const auto& [column, row] : lit)
        bytes[(static_cast<std::size_t>(row) * width + column) * 4] = 255;
    return bytes;
}

TEST(PixFeatureDetectionFilters, ReadBacksScanAsWorkedOutByHand) {
    using Harris = PixHarrisCornerDetectionFilter;
    EXPECT_TRUE(Harris::cornersInPixels(litPixels(8, 8, {}).data(), 8, 8, Harris::kMaximumCorners).empty());
    EXPECT_EQ(Harris::cornersInPixels(litPixels(640, 480, {{320, 240}}).data(), 640, 480, Harris::kMaximumCorners),
              (std::vector<float>{0.5f, 0.5f}));
    // 600 corners, every other pixel of the first rows: the first 511 in reading order.
    std::vector<std::pair<int, int>> many;
    for (int index = 0; index < 600; ++index)
        many.push_back({index * 2 % 640, index * 2 / 640});
    const std::vector<float> first = Harris::cornersInPixels(litPixels(640, 480, many).data(), 640, 480, Harris::kMaximumCorners);
    ASSERT_EQ(first.size(), 2u * 511);
    EXPECT_FLOAT_EQ(first[2 * 510], (510 * 2 % 640) / 640.0f);
    EXPECT_FLOAT_EQ(first[2 * 510 + 1], (510 * 2 / 640) / 480.0f);

    using Hough = PixHoughTransformLineDetector;
    // x' = 2 column / width - 1, y' = 2 row / height - 1: the middle column is x' = 0, a vertical line
    // with y' as its x; (0.5, 0.25) is slope 1 - 1 / 0.5 = -1 and intercept 0.25 / 0.5; (-0.5, 0.25) is
    // slope -1 / -0.5 - 1 = 1 and intercept -0.5.
    const struct {
        int column, row;
        float slope, intercept;
    } peaks[] = {{4, 6, 100000, 0.5f}, {6, 5, -1, 0.5f}, {2, 5, 1, -0.5f}};
    for (const auto& peak : peaks) {
        EXPECT_EQ(Hough::linesInPixels(litPixels(8, 8, {{peak.column, peak.row}}).data(), 8, 8, Hough::kMaximumLines),
                  (std::vector<float>{peak.slope, peak.intercept}))
            << peak.column << ", " << peak.row;
    }
}

TEST(PixFeatureDetectionFilters, CornerDetectorsFindTheCornersOfASquare) {
    const std::pair<const char*, std::function<std::shared_ptr<PixHarrisCornerDetectionFilter>()>> detectors[] = {
        {"Harris", [] { return PixHarrisCornerDetectionFilter::create(); }},
        {"Noble", [] { return std::static_pointer_cast<PixHarrisCornerDetectionFilter>(PixNobleCornerDetectionFilter::create()); }},
        {"Shi-Tomasi", [] { return std::static_pointer_cast<PixHarrisCornerDetectionFilter>(PixShiTomasiFeatureDetectionFilter::create()); }},
    };
    for (const auto& [name, make] : detectors) {
        auto detector = make();
        std::vector<float> corners;
        int reports = 0;
        detector->setCornersDetectedBlock([&](const float* cornerArray, unsigned count, PixFrameTime) {
            corners.assign(cornerArray, cornerArray + 2 * count);
            ++reports;
        });
        // A flat picture has none; the block still hears of it.
        filtered(detector, 64, 64, std::vector<Rgba>(64 * 64, grey(90)));
        EXPECT_EQ(reports, 1) << name;
        EXPECT_TRUE(corners.empty()) << name;

        // The square's corners, 16 and 48 of 64: each found within two pixels, and nothing else. Then the
        // same at 640 x 480 (the read-back grows), the square from 160 to 320.
        const struct {
            int width, height, from, to;
        } frames[] = {{64, 64, 16, 48}, {640, 480, 160, 320}};
        for (const auto& frame : frames) {
            std::vector<Rgba> pixels;
            for (int y = 0; y < frame.height; ++y)
                for (int x = 0; x < frame.width; ++x)
                    pixels.push_back(x >= frame.from && x < frame.to && y >= frame.from && y < frame.to ? grey(255) : grey(0));
            filtered(detector, frame.width, frame.height, pixels);
            ASSERT_FALSE(corners.empty()) << name << " at " << frame.width;
            bool found[4] = {};
            for (std::size_t index = 0; index < corners.size(); index += 2) {
                const float x = corners[index] * frame.width, y = corners[index + 1] * frame.height;
                const auto near = [](float position, int edge) { return std::abs(position - static_cast<float>(edge)) <= 2.5f; };
                const bool left = near(x, frame.from), right = near(x, frame.to), top = near(y, frame.from),
                           bottom = near(y, frame.to);
                EXPECT_TRUE((left || right) && (top || bottom)) << name << ": a corner at " << x << ", " << y;
                found[(right ? 1 : 0) + (bottom ? 2 : 0)] = true;
            }
            EXPECT_TRUE(found[0] && found[1] && found[2] && found[3]) << name << " at " << frame.width;
        }
    }
}

TEST(PixFeatureDetectionFilters, TheLineDetectorFindsAVerticalLine) {
    auto detector = PixHoughTransformLineDetector::create();
    std::vector<float> lines;
    int reports = 0;
    detector->setLinesDetectedBlock([&](const float* lineArray, unsigned count, PixFrameTime) {
        lines.assign(lineArray, lineArray + 2 * count);
        ++reports;
    });
    EXPECT_FLOAT_EQ(detector->lineDetectionThreshold(), 0.8f);
    detector->setEdgeThreshold(0.7f);
    EXPECT_FLOAT_EQ(detector->edgeThreshold(), 0.7f);

    // Under 4 pixels the accumulator has room for no segment: nothing is drawn, nothing is found.
    filtered(detector, 1, 3, {grey(0), grey(255), grey(0)});
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(lines.empty());

    // A white band over columns 190 to 197 of 256: its edges lie at x' = 0.48 and 0.55, where vertical lines
    // meet in the accumulator's middle column.
    std::vector<Rgba> band;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            band.push_back(x >= 190 && x < 198 ? grey(255) : grey(0));
    filtered(detector, 256, 256, band);
    bool vertical = false;
    for (std::size_t index = 0; index < lines.size(); index += 2)
        vertical = vertical || (lines[index] == 100000 && std::abs(lines[index + 1] - 0.51f) < 0.08f);
    EXPECT_TRUE(vertical) << lines.size() / 2 << " lines, none vertical near x' = 0.5";
}

TEST(PixFeatureDetectionFilters, PatternsAndPackingAsWorkedOutByHand) {
    // Around the centre of 100: brighter or equal neighbours set their bits, 1 top right, 2 top, 4 top
    // left, 8 left, 16 bottom left, 32 bottom, 64 bottom right, 128 right.
    const std::vector<Rgba> neighbourhood{grey(100), grey(150), grey(50),   // top left, top, top right
                                          grey(99),  grey(100), grey(200),  // left, centre, right
                                          grey(0),   grey(100), grey(101)}; // bottom left, bottom, bottom right
    const gl::RgbaImage pattern = filtered(PixLocalBinaryPatternFilter::create(), 3, 3, neighbourhood);
    EXPECT_NEAR(pattern.pixel(1, 1)[0], 2 + 4 + 32 + 64 + 128, 1);

    // 4 x 2 of distinct greys pack into 2 x 1, each pixel its 2 x 2 block.
    const gl::RgbaImage packed = filtered(PixColorPackingFilter::create(), 4, 2,
                                          {grey(10), grey(20), grey(30), grey(40), grey(50), grey(60), grey(70), grey(80)});
    EXPECT_TRUE(pixelsNear(packed, {{10, 20, 50, 60}, {30, 40, 70, 80}}));
}

TEST(PixFeatureDetectionFilters, TheTestCardWithItsCornersAndLinesMarked) {
    constexpr int kWidth = 256, kHeight = 192;
    const std::vector<Rgba> card = pixtest::testCard(kWidth, kHeight);
    gl::RgbaImage marked = pixtest::rgbaImage(kWidth, kHeight, card);
    const auto mark = [&](int x, int y, Rgba colour) {
        if (x >= 0 && x < kWidth && y >= 0 && y < kHeight)
            std::copy(colour.begin(), colour.end(), marked.bytes.begin() + (static_cast<std::ptrdiff_t>(y) * kWidth + x) * 4);
    };

    // Lines first, in orange: y' = slope x' + intercept, or x' = intercept when vertical.
    auto lineDetector = PixHoughTransformLineDetector::create();
    std::vector<float> lines;
    lineDetector->setLinesDetectedBlock(
        [&](const float* lineArray, unsigned count, PixFrameTime) { lines.assign(lineArray, lineArray + 2 * count); });
    filtered(lineDetector, kWidth, kHeight, card);
    EXPECT_FALSE(lines.empty()) << "no line in the test card";
    for (std::size_t index = 0; index < lines.size(); index += 2) {
        const float slope = lines[index], intercept = lines[index + 1];
        if (slope == 100000) {
            const int column = static_cast<int>(std::lround((intercept + 1) / 2 * kWidth));
            for (int row = 0; row < kHeight; ++row)
                mark(column, row, {255, 128, 0, 255});
            continue;
        }
        for (int column = 0; column < kWidth; ++column) {
            const float x = 2.0f * static_cast<float>(column) / kWidth - 1;
            mark(column, static_cast<int>(std::lround((slope * x + intercept + 1) / 2 * kHeight)), {255, 128, 0, 255});
        }
    }

    // Corners over them, as small crosses.
    auto cornerDetector = PixHarrisCornerDetectionFilter::create();
    std::vector<float> corners;
    cornerDetector->setCornersDetectedBlock(
        [&](const float* cornerArray, unsigned count, PixFrameTime) { corners.assign(cornerArray, cornerArray + 2 * count); });
    filtered(cornerDetector, kWidth, kHeight, card);
    EXPECT_FALSE(corners.empty()) << "no corner in the test card";
    for (std::size_t index = 0; index < corners.size(); index += 2) {
        const int x = static_cast<int>(std::lround(corners[index] * kWidth));
        const int y = static_cast<int>(std::lround(corners[index + 1] * kHeight));
        for (int step = -3; step <= 3; ++step) {
            mark(x + step, y, {255, 0, 128, 255});
            mark(x, y + step, {255, 0, 128, 255});
        }
    }

    auto histogramChart = PixHistogramGenerator::create();
    histogramChart->forceProcessingAtSize({256, 192});
    histogramChart->setBackgroundColorRed(0.1f, 0.1f, 0.1f, 1);
    auto histogram = PixHistogramFilter::create(kPixHistogramRGB);
    histogram->setDownsamplingFactor(1);
    histogram->addTarget(histogramChart);
    filtered(histogram, kWidth, kHeight, card);

    pixtest::PixContactSheet sheet;
    sheet.add("test card", pixtest::rgbaImage(kWidth, kHeight, card));
    sheet.add("corners and lines", marked);
    sheet.add("histogram", histogramChart->newImageFromCurrentlyProcessedOutput());
    sheet.write("feature-detection.png");
}

} // namespace
} // namespace zm
