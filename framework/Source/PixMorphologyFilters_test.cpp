#include "framework/Source/PixMorphologyGroups.h"
#include "framework/Source/PixTestSupport.h"

#include <cstdlib>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::filtered;
using pixtest::pixelsNear;
using pixtest::Rgba;
using Make = pixtest::MakeFilter;

const Rgba kBlack{0, 0, 0, 255}, kWhite{255, 255, 255, 255};

// A 9 x 9 picture, `inside` within the square of the given half side around the middle, `outside`
// elsewhere (half side -1: nowhere).
std::vector<Rgba> square(int halfSide, Rgba inside = kWhite, Rgba outside = kBlack) {
    std::vector<Rgba> pixels;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            pixels.push_back(std::abs(x - 4) <= halfSide && std::abs(y - 4) <= halfSide ? inside : outside);
    return pixels;
}

TEST(PixMorphologyFilters, GrowAndShrinkBySquaresOfTheirRadius) {
    struct Case {
        const char* name;
        Make make;
        std::vector<Rgba> input, expected;
    };
    const Case cases[] = {
        {"a dot dilated at radius 2", [] { return PixDilationFilter::create(2); }, square(0), square(2)},
        {"a dot eroded at radius 2", [] { return PixErosionFilter::create(2); }, square(0), square(-1)},
        {"radius 0 acts as 1", [] { return PixDilationFilter::create(0); }, square(0), square(1)},
        {"radius 9 acts as 4", [] { return PixDilationFilter::create(9); }, square(0), square(4)},
        {"a square shrunk at radius 1", [] { return PixErosionFilter::create(1); }, square(2), square(1)},
        {"opening at radius 2 takes a 3 x 3 square away", [] { return PixOpeningFilter::create(2); }, square(1),
         square(-1)},
        {"opening keeps a larger square", [] { return PixOpeningFilter::create(1); }, square(2), square(2)},
        {"closing at radius 1 fills a hole", [] { return PixClosingFilter::create(1); }, square(0, kBlack, kWhite),
         square(-1, kBlack, kWhite)},
        {"RGB opening", [] { return PixRGBOpeningFilter::create(2); }, square(1, {255, 0, 0, 255}),
         square(-1)},
        {"RGB closing", [] { return PixRGBClosingFilter::create(1); }, square(0, {0, 0, 0, 255}, {200, 100, 50, 255}),
         square(-1, kBlack, {200, 100, 50, 255})},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(pixelsNear(filtered(c.make(), 9, 9, c.input), c.expected)) << c.name;
}

TEST(PixMorphologyFilters, TheColourVariantsWorkOnEachChannelAlphaIncluded) {
    const std::vector<Rgba> pair{{255, 0, 40, 255}, {0, 90, 0, 0}, {0, 0, 0, 0}};
    EXPECT_TRUE(pixelsNear(filtered(PixRGBDilationFilter::create(1), 3, 1, pair),
                           {{255, 90, 40, 255}, {255, 90, 40, 255}, {0, 90, 0, 0}}));
    EXPECT_TRUE(pixelsNear(filtered(PixRGBErosionFilter::create(1), 3, 1, pair),
                           {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}));
}

TEST(PixMorphologyFilters, AGroupsSpacingReachesBothItsFilters) {
    auto opening = PixOpeningFilter::create(1);
    EXPECT_EQ(opening->horizontalTexelSpacing(), 0);
    opening->setHorizontalTexelSpacing(2);
    EXPECT_EQ(opening->horizontalTexelSpacing(), 2);
    EXPECT_EQ(opening->erosionFilter()->horizontalTexelSpacing(), 2);
    EXPECT_EQ(opening->dilationFilter()->horizontalTexelSpacing(), 2);
    EXPECT_EQ(opening->dilationFilter()->verticalTexelSpacing(), 1);

    // Every second pixel across: a dot grows to every other column of three rows.
    auto dilation = PixDilationFilter::create(1);
    dilation->setHorizontalTexelSpacing(2);
    std::vector<Rgba> expected = square(-1);
    for (int y = 3; y <= 5; ++y)
        for (const int x : {2, 4, 6})
            expected[static_cast<std::size_t>(y * 9 + x)] = kWhite;
    EXPECT_TRUE(pixelsNear(filtered(dilation, 9, 9, square(0)), expected));
}

TEST(PixMorphologyFilters, EveryMemberChangesAMask) {
    // 64 x 48: white shapes on black, specks and holes of one pixel among them.
    constexpr int kWidth = 64, kHeight = 48;
    std::vector<Rgba> mask;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool disc = (x - 20) * (x - 20) + (y - 24) * (y - 24) < 144;
            const bool bar = x > 38 && x < 58 && y > 8 && y < 40 && !(x == 48 && y % 6 == 0);
            const bool speck = (x * 7 + y * 13) % 41 == 0;
            mask.push_back(disc || bar || speck ? kWhite : kBlack);
        }
    }
    const std::pair<const char*, Make> members[] = {
        {"dilation 2", [] { return PixDilationFilter::create(2); }},
        {"erosion 2", [] { return PixErosionFilter::create(2); }},
        {"RGB dilation 1", [] { return PixRGBDilationFilter::create(1); }},
        {"RGB erosion 1", [] { return PixRGBErosionFilter::create(1); }},
        {"opening 1", [] { return PixOpeningFilter::create(1); }},
        {"closing 1", [] { return PixClosingFilter::create(1); }},
        {"RGB opening 2", [] { return PixRGBOpeningFilter::create(2); }},
        {"RGB closing 2", [] { return PixRGBClosingFilter::create(2); }},
    };
    pixtest::PixContactSheet sheet;
    sheet.add("mask", pixtest::rgbaImage(kWidth, kHeight, mask));
    for (const auto& [name, make] : members) {
        const gl::RgbaImage output = filtered(make(), kWidth, kHeight, mask);
        sheet.add(name, output);
        EXPECT_FALSE(pixelsNear(output, mask, 8)) << name << " left the mask as it was";
    }
    sheet.write("morphology-filters.png");
}

} // namespace
} // namespace zm
