#include "framework/Source/PixAddBlendFilter.h"
#include "framework/Source/PixAlphaBlendFilter.h"
#include "framework/Source/PixChromaKeyBlendFilter.h"
#include "framework/Source/PixColorBlendFilter.h"
#include "framework/Source/PixColorBurnBlendFilter.h"
#include "framework/Source/PixColorDodgeBlendFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixDarkenBlendFilter.h"
#include "framework/Source/PixDifferenceBlendFilter.h"
#include "framework/Source/PixDissolveBlendFilter.h"
#include "framework/Source/PixDivideBlendFilter.h"
#include "framework/Source/PixExclusionBlendFilter.h"
#include "framework/Source/PixHardLightBlendFilter.h"
#include "framework/Source/PixHueBlendFilter.h"
#include "framework/Source/PixLightenBlendFilter.h"
#include "framework/Source/PixLinearBurnBlendFilter.h"
#include "framework/Source/PixLuminosityBlendFilter.h"
#include "framework/Source/PixMaskFilter.h"
#include "framework/Source/PixMultiplyBlendFilter.h"
#include "framework/Source/PixNormalBlendFilter.h"
#include "framework/Source/PixOverlayBlendFilter.h"
#include "framework/Source/PixSaturationBlendFilter.h"
#include "framework/Source/PixScreenBlendFilter.h"
#include "framework/Source/PixSoftLightBlendFilter.h"
#include "framework/Source/PixSourceOverBlendFilter.h"
#include "framework/Source/PixSubtractBlendFilter.h"
#include "framework/Source/PixTestSupport.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::pixelsNear;
using pixtest::PixTestImageSource;
using pixtest::Rgba;
using Make = std::function<std::shared_ptr<PixTwoInputFilter>()>;

template <class Filter> Make made(std::function<void(Filter&)> setUp = {}) {
    return [setUp] {
        auto filter = Filter::create();
        if (setUp)
            setUp(*filter);
        return std::static_pointer_cast<PixTwoInputFilter>(filter);
    };
}

// The blend of two pictures of the same size: the base first, the overlay second.
gl::RgbaImage blended(const std::shared_ptr<PixTwoInputFilter>& filter, int width, int height,
                      const std::vector<Rgba>& base, const std::vector<Rgba>& overlay) {
    auto baseSource = PixTestImageSource::create(width, height, base);
    auto overlaySource = PixTestImageSource::create(width, height, overlay);
    baseSource->addTarget(filter);
    overlaySource->addTarget(filter);
    baseSource->push();
    overlaySource->push();
    return filter->newImageFromCurrentlyProcessedOutput();
}

gl::RgbaImage blended(const std::shared_ptr<PixTwoInputFilter>& filter, Rgba base, Rgba overlay) {
    return blended(filter, 1, 1, {base}, {overlay});
}

TEST(PixBlendFilters, BlendAPixelAsWorkedOutByHand) {
    // A warm base under a cool overlay, opaque and at half alpha (no divisor of zero among them).
    const Rgba base{204, 128, 77, 255};
    const Rgba opaque{77, 100, 230, 255};
    const Rgba halfTransparent{77, 100, 230, 128};
    struct Case {
        const char* name;
        Make make;
        Rgba overOpaque, overHalfTransparent;
    };
    const Case cases[] = {
        {"Dissolve", made<PixDissolveBlendFilter>(), {140, 114, 154, 255}, {140, 114, 154, 192}},
        {"Alpha", made<PixAlphaBlendFilter>(), {140, 114, 154, 255}, {172, 121, 115, 255}},
        {"Multiply", made<PixMultiplyBlendFilter>(), {62, 50, 69, 255}, {163, 114, 108, 255}},
        {"Overlay", made<PixOverlayBlendFilter>(), {184, 101, 139, 255}, {209, 164, 177, 255}},
        {"HardLight", made<PixHardLightBlendFilter>(), {123, 100, 220, 255}, {209, 164, 255, 255}},
        {"SoftLight", made<PixSoftLightBlendFilter>(), {188, 114, 120, 255}, {208, 146, 147, 255}},
        {"Darken", made<PixDarkenBlendFilter>(), {77, 100, 77, 255}, {179, 128, 77, 255}},
        {"Lighten", made<PixLightenBlendFilter>(), {204, 128, 230, 255}, {204, 128, 230, 255}},
        {"ColorBurn", made<PixColorBurnBlendFilter>(), {86, 0, 58, 255}, {86, 0, 58, 255}},
        {"ColorDodge", made<PixColorDodgeBlendFilter>(), {255, 211, 255, 255}, {230, 192, 166, 255}},
        {"Screen", made<PixScreenBlendFilter>(), {219, 178, 238, 255}, {219, 178, 238, 255}},
        {"Difference", made<PixDifferenceBlendFilter>(), {127, 28, 153, 255}, {127, 28, 153, 255}},
        {"Exclusion", made<PixExclusionBlendFilter>(), {158, 128, 168, 255}, {158, 128, 168, 255}},
        {"Subtract", made<PixSubtractBlendFilter>(), {127, 28, 0, 255}, {127, 28, 0, 255}},
        {"Divide", made<PixDivideBlendFilter>(), {255, 255, 85, 255}, {230, 146, 60, 255}},
        {"Add", made<PixAddBlendFilter>(), {255, 228, 255, 255}, {230, 192, 166, 255}},
        {"LinearBurn", made<PixLinearBurnBlendFilter>(), {26, 0, 52, 255}, {26, 0, 52, 255}},
        {"Normal", made<PixNormalBlendFilter>(), {77, 100, 230, 255}, {140, 114, 154, 255}},
        {"SourceOver", made<PixSourceOverBlendFilter>(), {77, 100, 230, 255}, {140, 114, 154, 191}},
        {"Color", made<PixColorBlendFilter>(), {118, 139, 255, 255}, {161, 133, 166, 255}},
        {"Hue", made<PixHueBlendFilter>(), {120, 139, 247, 255}, {162, 134, 162, 255}},
        {"Saturation", made<PixSaturationBlendFilter>(), {216, 124, 63, 255}, {210, 126, 70, 255}},
        {"Luminosity", made<PixLuminosityBlendFilter>(), {166, 90, 39, 255}, {185, 109, 58, 255}},
        {"ChromaKey", made<PixChromaKeyBlendFilter>(), {204, 128, 77, 255}, {204, 128, 77, 255}},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(pixelsNear(blended(c.make(), base, opaque), {c.overOpaque})) << c.name << " over an opaque overlay";
        EXPECT_TRUE(pixelsNear(blended(c.make(), base, halfTransparent), {c.overHalfTransparent}))
            << c.name << " over a half-transparent overlay";
    }
}

TEST(PixBlendFilters, EdgeCases) {
    const Rgba grey{128, 128, 128, 255}, base{200, 100, 50, 255}, overlay{20, 90, 240, 255};
    const Rgba clear{0, 0, 0, 0};
    struct Case {
        const char* name;
        Make make;
        Rgba base, overlay, expected;
    };
    const Case cases[] = {
        {"multiply of a half and a half", made<PixMultiplyBlendFilter>(), grey, grey, {64, 64, 64, 255}},
        {"screen of a half and a half", made<PixScreenBlendFilter>(), grey, grey, {192, 192, 192, 255}},
        {"difference of 0.8 and 0.3", made<PixDifferenceBlendFilter>(), {204, 204, 204, 255}, {77, 77, 77, 255},
         {127, 127, 127, 255}},
        {"dissolve 0", made<PixDissolveBlendFilter>([](auto& f) { f.setMix(0); }), base, overlay, base},
        {"dissolve 1", made<PixDissolveBlendFilter>([](auto& f) { f.setMix(1); }), base, overlay, overlay},
        {"alpha blend of a transparent overlay", made<PixAlphaBlendFilter>([](auto& f) { f.setMix(1); }), base,
         {20, 90, 240, 0}, base},
        {"normal blend of an opaque overlay", made<PixNormalBlendFilter>(), base, overlay, overlay},
        {"normal blend of a transparent overlay", made<PixNormalBlendFilter>(), base, {20, 90, 240, 0}, base},
        {"chroma key replaces green", made<PixChromaKeyBlendFilter>(), {0, 255, 0, 255}, overlay, overlay},
        {"chroma key keeps red", made<PixChromaKeyBlendFilter>(), {255, 0, 0, 255}, overlay, {255, 0, 0, 255}},
        {"saturation of a grey overlay is the base's grey", made<PixSaturationBlendFilter>(), {204, 128, 77, 255}, grey,
         {145, 145, 145, 255}},
        {"saturation with green equal to blue", made<PixSaturationBlendFilter>(), {50, 100, 100, 255},
         {77, 100, 230, 255}, {85, 85, 85, 255}},
        {"a mask of white shows the base", made<PixMaskFilter>(), base, {255, 255, 255, 255}, base},
        {"a mask of black shows the background", made<PixMaskFilter>(), base, {0, 0, 0, 255}, clear},
        {"a mask of grey shows some of the base", made<PixMaskFilter>(), base, grey, {100, 50, 25, 64}},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(pixelsNear(blended(c.make(), c.base, c.overlay), {c.expected})) << c.name;
}

TEST(PixBlendFilters, EveryMemberOverTwoPictures) {
    constexpr int kWidth = 64, kHeight = 48;
    const std::vector<Rgba> card = pixtest::testCard(kWidth, kHeight);
    // Soft blue and orange discs on a transparent ground, fading out to their edges.
    std::vector<Rgba> discs;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const float left = std::hypot(x - 22.0f, y - 24.0f) / 20, right = std::hypot(x - 44.0f, y - 20.0f) / 16;
            const auto alpha = [](float distance) { return std::clamp(1.5f - distance * 1.5f, 0.0f, 1.0f); };
            const float a = std::max(alpha(left), alpha(right));
            const bool blue = alpha(left) >= alpha(right);
            discs.push_back({static_cast<std::uint8_t>(blue ? 40 : 250), static_cast<std::uint8_t>(blue ? 90 : 150),
                             static_cast<std::uint8_t>(blue ? 230 : 30), static_cast<std::uint8_t>(std::lround(a * 255))});
        }
    }
    const std::pair<const char*, Make> members[] = {
        {"dissolve", made<PixDissolveBlendFilter>()}, {"alpha", made<PixAlphaBlendFilter>([](auto& f) { f.setMix(1); })},
        {"multiply", made<PixMultiplyBlendFilter>()}, {"overlay", made<PixOverlayBlendFilter>()},
        {"hard light", made<PixHardLightBlendFilter>()}, {"soft light", made<PixSoftLightBlendFilter>()},
        {"darken", made<PixDarkenBlendFilter>()}, {"lighten", made<PixLightenBlendFilter>()},
        {"colour burn", made<PixColorBurnBlendFilter>()}, {"colour dodge", made<PixColorDodgeBlendFilter>()},
        {"screen", made<PixScreenBlendFilter>()}, {"difference", made<PixDifferenceBlendFilter>()},
        {"exclusion", made<PixExclusionBlendFilter>()}, {"subtract", made<PixSubtractBlendFilter>()},
        {"divide", made<PixDivideBlendFilter>()}, {"add", made<PixAddBlendFilter>()},
        {"linear burn", made<PixLinearBurnBlendFilter>()}, {"normal", made<PixNormalBlendFilter>()},
        {"source over", made<PixSourceOverBlendFilter>()}, {"colour", made<PixColorBlendFilter>()},
        {"hue", made<PixHueBlendFilter>()}, {"saturation", made<PixSaturationBlendFilter>()},
        {"luminosity", made<PixLuminosityBlendFilter>()}, {"mask", made<PixMaskFilter>()},
        {"chroma key", made<PixChromaKeyBlendFilter>()},
    };
    pixtest::PixContactSheet sheet;
    sheet.add("base", pixtest::rgbaImage(kWidth, kHeight, card));
    sheet.add("overlay", pixtest::rgbaImage(kWidth, kHeight, discs));
    for (const auto& [name, make] : members) {
        const gl::RgbaImage output = blended(make(), kWidth, kHeight, card, discs);
        sheet.add(name, output);
        EXPECT_FALSE(pixelsNear(output, card, 8)) << name << " left the base as it was";
    }
    sheet.write("blend-filters.png");
}

} // namespace
} // namespace zm
