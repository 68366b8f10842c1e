#include "framework/Source/PixCannyEdgeDetectionFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixDirectionalNonMaximumSuppressionFilter.h"
#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixDirectionalSobelEdgeDetectionFilter.h"
#include "framework/Source/PixNonMaximumSuppressionFilter.h"
#include "framework/Source/PixPrewittEdgeDetectionFilter.h"
#include "framework/Source/PixSobelEdgeDetectionFilter.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/Source/PixThresholdEdgeDetectionFilter.h"
#include "framework/Source/PixThresholdedNonMaximumSuppressionFilter.h"
#include "framework/Source/PixWeakPixelInclusionFilter.h"
#include "framework/Source/PixXYDerivativeFilter.h"

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

// The picture's rows, top first, each a list of pixels.
struct Picture {
    int width;
    int height;
    std::vector<Rgba> pixels;
};

Picture picture(const std::vector<std::vector<Rgba>>& rows) {
    Picture made{static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), {}};
    for (const auto& row : rows)
        made.pixels.insert(made.pixels.end(), row.begin(), row.end());
    return made;
}

// Rows of one pattern, `height` times.
Picture repeatedRow(const std::vector<Rgba>& row, int height) {
    return picture(std::vector<std::vector<Rgba>>(static_cast<std::size_t>(height), row));
}

struct Case {
    const char* name;
    MakeFilter make;
    Picture input;
    Picture expected;
};

void expectEachCase(const std::vector<Case>& cases) {
    for (const Case& c : cases)
        EXPECT_TRUE(pixelsNear(filtered(c.make(), c.input.width, c.input.height, c.input.pixels), c.expected.pixels))
            << c.name;
}

TEST(PixEdgeDetectionFilters, GradientsAsWorkedOutByHand) {
    const Rgba black = grey(0), white = grey(255);
    const Picture flat = repeatedRow({grey(100), grey(100), grey(100)}, 3);
    // A vertical step from 0 to 1 between the second and third columns: the Sobel sum across the
    // columns is 4 beside it (stored as 1), the Prewitt sum 3, the central difference 1.
    const Picture step = repeatedRow({black, black, white, white}, 3);
    const Picture stepEdges = repeatedRow({black, white, white, black}, 3);
    // Rows 0, 0.149 and 0.302: only the middle pixel's bottom - top reaches 0.25.
    const Picture verticalRamp = picture({{grey(0)}, {grey(38)}, {grey(77)}});
    // 0, 0.102 and 0.2 across: the Prewitt sum across the columns is 3 x the difference either side.
    const Picture horizontalRamp = picture({{grey(0), grey(26), grey(51)}});
    const Rgba noDirection{0, 128, 128, 255}, rightwards{255, 255, 128, 255};

    expectEachCase({
        {"Sobel of a flat picture", made<PixSobelEdgeDetectionFilter>(), flat, repeatedRow({black, black, black}, 3)},
        {"Prewitt of a flat picture", made<PixPrewittEdgeDetectionFilter>(), flat, repeatedRow({black, black, black}, 3)},
        {"threshold edges of a flat picture", made<PixThresholdEdgeDetectionFilter>(), flat,
         repeatedRow({black, black, black}, 3)},
        {"derivatives of a flat picture", made<PixXYDerivativeFilter>(), flat,
         repeatedRow({{0, 0, 128, 255}, {0, 0, 128, 255}, {0, 0, 128, 255}}, 3)},
        {"directional Sobel of a flat picture", made<PixDirectionalSobelEdgeDetectionFilter>(), flat,
         repeatedRow({noDirection, noDirection, noDirection}, 3)},
        {"Sobel beside a step", made<PixSobelEdgeDetectionFilter>(), step, stepEdges},
        {"Prewitt beside a step", made<PixPrewittEdgeDetectionFilter>(), step, stepEdges},
        {"threshold edges beside a step", made<PixThresholdEdgeDetectionFilter>(), step, stepEdges},
        {"directional Sobel beside a step", made<PixDirectionalSobelEdgeDetectionFilter>(), step,
         repeatedRow({noDirection, rightwards, rightwards, noDirection}, 3)},
        {"threshold edges of a vertical difference of 0.3", made<PixThresholdEdgeDetectionFilter>(), verticalRamp,
         picture({{black}, {white}, {black}})},
        {"threshold edges at a higher threshold",
         made<PixThresholdEdgeDetectionFilter>([](auto& f) { f.setThreshold(0.35f); }), verticalRamp,
         picture({{black}, {black}, {black}})},
        {"threshold edges made stronger",
         made<PixThresholdEdgeDetectionFilter>([](auto& f) { f.setEdgeStrength(2); }), verticalRamp,
         picture({{white}, {white}, {white}})},
        {"Sobel at half strength", made<PixSobelEdgeDetectionFilter>([](auto& f) { f.setEdgeStrength(0.125f); }),
         step, repeatedRow({black, grey(128), grey(128), black}, 3)},
        {"derivatives across a ramp", made<PixXYDerivativeFilter>(), horizontalRamp,
         picture({{{24, 0, 128, 255}, {92, 0, 128, 255}, {22, 0, 128, 255}}})},
    });
}

TEST(PixEdgeDetectionFilters, SuppressionKeepsPeaksAsWorkedOutByHand) {
    const Rgba black = grey(0), white = grey(255), peak = grey(200);
    // Two equal peaks side by side: the left one's right neighbour only must not be larger, the right
    // one's left neighbour must be smaller.
    const Picture equalPeaks = picture({{black, black, black, black}, {black, peak, peak, black}, {black, black, black, black}});
    const Picture leftSurvives = picture({{black, black, black, black}, {black, white, black, black}, {black, black, black, black}});
    // Red alone ranks the left pixel first; packed (b x 256 + g + r / 256) the right one.
    const Picture packedPeaks =
        picture({{black, black, black, black}, {black, {255, 0, 0, 255}, {0, 0, 1, 255}, black}, {black, black, black, black}});
    const Picture rightSurvives = picture({{black, black, black, black}, {black, black, white, black}, {black, black, black, black}});
    // Lit pixels on a line of others stay; a lone one, and one too faint to count, go.
    const Picture weakPixels = picture({std::vector<Rgba>(6, black), {white, white, grey(1), black, white, black},
                                        std::vector<Rgba>(6, black)});
    // Magnitudes 0.3, 0.6, 0.5, 0, 0.302, each pointing right (green 1, blue 0.5): the 0.6 is a peak
    // and ramps to 1; the lone 0.302 at the end ramps to smoothstep(0.1, 0.5, 0.302) = 0.507.
    const Picture directionalRidge = picture({{{77, 255, 128, 255}, {153, 255, 128, 255}, {128, 255, 128, 255},
                                               {0, 128, 128, 255}, {77, 255, 128, 255}}});

    expectEachCase({
        {"suppression of equal peaks", made<PixNonMaximumSuppressionFilter>(), equalPeaks,
         picture({{black, black, black, black}, {black, peak, black, black}, {black, black, black, black}})},
        {"thresholded suppression of equal peaks",
         made<PixThresholdedNonMaximumSuppressionFilter>([](auto& f) { f.setThreshold(0.5f); }), equalPeaks, leftSurvives},
        {"thresholded suppression below its threshold of 0.9", made<PixThresholdedNonMaximumSuppressionFilter>(),
         equalPeaks, picture({std::vector<Rgba>(4, black), std::vector<Rgba>(4, black), std::vector<Rgba>(4, black)})},
        {"thresholded suppression of red", made<PixThresholdedNonMaximumSuppressionFilter>(), packedPeaks, leftSurvives},
        {"thresholded suppression, packed",
         [] { return std::static_pointer_cast<PixFilterNode>(PixThresholdedNonMaximumSuppressionFilter::create(true)); },
         packedPeaks, rightSurvives},
        {"weak pixel inclusion", made<PixWeakPixelInclusionFilter>(), weakPixels,
         picture({std::vector<Rgba>(6, black), {white, white, black, black, black, black}, std::vector<Rgba>(6, black)})},
        {"directional suppression", made<PixDirectionalNonMaximumSuppressionFilter>(), directionalRidge,
         picture({{black, white, black, black, grey(129)}})},
    });
}

TEST(PixEdgeDetectionFilters, ALuminanceInputIsSampledAsItsSourceTurnsIt) {
    // A 4 x 2 luminance picture with a step between its second and third columns, turned right: the
    // output is 2 x 4, the step between its second and third rows. The gradient pass reads the input
    // itself, so its neighbour steps must follow the turn.
    const Rgba black = grey(0), white = grey(255);
    auto source = PixTestImageSource::create(4, 2, {black, black, white, white, black, black, white, white});
    auto sobel = PixSobelEdgeDetectionFilter::create();
    runSynchronouslyOnContextQueue([&] {
        sobel->setCurrentlyReceivingMonochromeInput(true);
        sobel->setInputRotation(PixInputRotationRotateRight, 0);
        sobel->setInputTexture(source->textureForOutput(), 0);
        sobel->setInputSize({4, 2}, 0);
        sobel->newFrameReadyAtTime(PixFrameTime::indefiniteTime(), 0);
    });
    EXPECT_TRUE(pixelsNear(sobel->newImageFromCurrentlyProcessedOutput(),
                           {black, black, white, white, white, white, black, black}));
}

TEST(PixEdgeDetectionFilters, ATexelSizeSetByHandStaysForLaterFrameSizes) {
    auto sobel = PixSobelEdgeDetectionFilter::create();
    filtered(sobel, 4, 5, std::vector<Rgba>(20, grey(0)));
    EXPECT_FLOAT_EQ(sobel->texelWidth(), 1.0f / 4);
    EXPECT_FLOAT_EQ(sobel->texelHeight(), 1.0f / 5);
    // Setting the width keeps the height too.
    sobel->setTexelWidth(0.5f);
    filtered(sobel, 8, 10, std::vector<Rgba>(80, grey(0)));
    EXPECT_FLOAT_EQ(sobel->texelWidth(), 0.5f);
    EXPECT_FLOAT_EQ(sobel->texelHeight(), 1.0f / 5);
}

TEST(PixEdgeDetectionFilters, CannyOutlinesASquareAndNothingInside) {
    constexpr int kSide = 16;
    // A white square over columns and rows 4 to 11.
    std::vector<Rgba> square;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            square.push_back(x >= 4 && x <= 11 && y >= 4 && y <= 11 ? grey(255) : grey(0));
    const gl::RgbaImage edges = filtered(PixCannyEdgeDetectionFilter::create(), kSide, kSide, square);
    ASSERT_EQ(edges.width, kSide);
    const auto lit = [&](int x, int y) { return edges.pixel(x, y)[0] > 128; };
    const auto outline = [](int position) { return position >= 3 && position <= 12; };
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const bool inside = x >= 5 && x <= 10 && y >= 5 && y <= 10;
            if (inside || !outline(x) || !outline(y)) {
                EXPECT_FALSE(lit(x, y)) << "(" << x << ", " << y << ") is lit, away from the outline";
            }
        }
    }
    // Every side is drawn along its whole length, one pixel or two thick (the edges' gradient is
    // carried unclamped, so the thinning finds its peak).
    for (int along = 5; along <= 10; ++along) {
        const struct {
            const char* side;
            int lit;
        } sides[] = {
            {"left", lit(3, along) + lit(4, along) + lit(5, along)},
            {"right", lit(10, along) + lit(11, along) + lit(12, along)},
            {"top", lit(along, 3) + lit(along, 4) + lit(along, 5)},
            {"bottom", lit(along, 10) + lit(along, 11) + lit(along, 12)},
        };
        for (const auto& side : sides)
            EXPECT_TRUE(side.lit == 1 || side.lit == 2) << side.side << " side at " << along << ": " << side.lit;
    }
}

TEST(PixEdgeDetectionFilters, EveryMemberDrawsTheTestCard) {
    constexpr int kWidth = 128, kHeight = 96;
    const std::vector<Rgba> card = pixtest::testCard(kWidth, kHeight);
    // The later stages see what they see in a chain: the directional suppression a directional
    // gradient, the weak-pixel stage a gradient, the peak finders a blurred picture with its bright spots.
    const auto after = [](MakeFilter makeFirst, MakeFilter makeSecond) {
        return [makeFirst, makeSecond] {
            auto first = makeFirst(), second = makeSecond();
            first->addTarget(second);
            auto group = PixFilterGroup::create();
            group->addFilter(first);
            group->addFilter(second);
            group->setInitialFilters({first});
            group->setTerminalFilter(second);
            return std::static_pointer_cast<PixFilterNode>(group);
        };
    };
    const MakeFilter blurred = made<PixGaussianBlurFilter>([](auto& f) { f.setBlurSize(3); });
    const std::pair<const char*, MakeFilter> members[] = {
        {"Sobel", made<PixSobelEdgeDetectionFilter>()},
        {"Prewitt", made<PixPrewittEdgeDetectionFilter>()},
        {"XY derivative", made<PixXYDerivativeFilter>()},
        {"threshold edges", made<PixThresholdEdgeDetectionFilter>()},
        {"directional Sobel", made<PixDirectionalSobelEdgeDetectionFilter>()},
        {"directional suppression",
         after(made<PixDirectionalSobelEdgeDetectionFilter>(), made<PixDirectionalNonMaximumSuppressionFilter>())},
        {"weak pixel inclusion", after(made<PixSobelEdgeDetectionFilter>(), made<PixWeakPixelInclusionFilter>())},
        {"suppression", after(blurred, made<PixNonMaximumSuppressionFilter>())},
        {"thresholded suppression",
         after(blurred, made<PixThresholdedNonMaximumSuppressionFilter>([](auto& f) { f.setThreshold(0.3f); }))},
        {"Canny", made<PixCannyEdgeDetectionFilter>()},
    };
    pixtest::PixContactSheet sheet;
    sheet.add("test card", pixtest::rgbaImage(kWidth, kHeight, card));
    for (const auto& [name, make] : members) {
        const gl::RgbaImage output = filtered(make(), kWidth, kHeight, card);
        sheet.add(name, output);
        EXPECT_FALSE(pixelsNear(output, card, 8)) << name << " left the test card as it was";
        const std::vector<Rgba> black(card.size(), grey(0));
        EXPECT_FALSE(pixelsNear(output, black, 8)) << name << " found no edge in the test card";
    }
    sheet.write("edge-detection-filters.png");
}

} // namespace
} // namespace zm
