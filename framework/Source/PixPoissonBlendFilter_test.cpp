#include "framework/Source/PixContext.h"
#include "framework/Source/PixPoissonBlendFilter.h"
#include "framework/Source/PixTestSupport.h"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::pixelsNear;
using pixtest::PixTestImageSource;
using pixtest::Rgba;

constexpr int kWidth = 4, kHeight = 3;

// The passes worked on the processor: each pixel becomes the mean of its four neighbours (the edge
// repeated beyond the picture) plus the overlay's detail there, mixed in by the overlay's alpha times
// `mix`; every pass is stored in bytes, as the framebuffers store it.
std::vector<Rgba> relaxed(std::vector<Rgba> base, const std::vector<Rgba>& overlay, float mix, unsigned passes) {
    const auto at = [](const std::vector<Rgba>& pixels, int x, int y, int channel) {
        x = std::clamp(x, 0, kWidth - 1);
        y = std::clamp(y, 0, kHeight - 1);
        return pixels[static_cast<std::size_t>(y * kWidth + x)][static_cast<std::size_t>(channel)] / 255.0;
    };
    const auto meanOfNeighbours = [&](const std::vector<Rgba>& pixels, int x, int y, int channel) {
        return (at(pixels, x - 1, y, channel) + at(pixels, x + 1, y, channel) + at(pixels, x, y - 1, channel) +
                at(pixels, x, y + 1, channel)) / 4;
    };
    for (unsigned pass = 0; pass < std::max(passes, 1u); ++pass) {
        std::vector<Rgba> next = base;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const double weight = at(overlay, x, y, 3) * mix;
                for (int channel = 0; channel < 3; ++channel) {
                    const double target = meanOfNeighbours(base, x, y, channel) + at(overlay, x, y, channel) -
                                          meanOfNeighbours(overlay, x, y, channel);
                    const double mixed = at(base, x, y, channel) * (1 - weight) + target * weight;
                    next[static_cast<std::size_t>(y * kWidth + x)][static_cast<std::size_t>(channel)] =
                        static_cast<std::uint8_t>(std::lround(std::clamp(mixed, 0.0, 1.0) * 255));
                }
            }
        }
        base = next;
    }
    return base;
}

std::vector<Rgba> filled(Rgba colour) {
    return std::vector<Rgba>(kWidth * kHeight, colour);
}

struct Blend {
    gl::RgbaImage readBack, received;
};

// The blend read back, and what a pass-through filter after it received.
Blend blended(const std::vector<Rgba>& base, const std::vector<Rgba>& overlay, float mix, unsigned passes) {
    auto poisson = PixPoissonBlendFilter::create();
    poisson->setMix(mix);
    poisson->setNumIterations(passes);
    auto after = PixFilter::create();
    poisson->addTarget(after);
    auto baseSource = PixTestImageSource::create(kWidth, kHeight, base);
    auto overlaySource = PixTestImageSource::create(kWidth, kHeight, overlay);
    baseSource->addTarget(poisson);
    overlaySource->addTarget(poisson);
    overlaySource->push();
    baseSource->push();
    return {poisson->newImageFromCurrentlyProcessedOutput(), after->newImageFromCurrentlyProcessedOutput()};
}

TEST(PixPoissonBlendFilter, RelaxesTheBaseTowardsTheOverlaysDetail) {
    const std::vector<Rgba> base{{200, 10, 60, 255},  {180, 40, 60, 255}, {150, 90, 60, 255},  {120, 140, 60, 200},
                                 {210, 20, 80, 255},  {170, 60, 80, 255}, {140, 100, 80, 255}, {100, 160, 80, 255},
                                 {220, 30, 100, 255}, {160, 80, 100, 255}, {130, 120, 100, 255}, {90, 180, 100, 255}};
    // An overlay with detail, opaque in the middle, half there at the right and absent at the left.
    std::vector<Rgba> overlay;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            overlay.push_back({static_cast<std::uint8_t>((x + y) % 2 ? 200 : 60), static_cast<std::uint8_t>(30 * x),
                               static_cast<std::uint8_t>(40 * y), static_cast<std::uint8_t>(x == 0 ? 0 : x == 3 ? 128 : 255)});
    struct Case {
        const char* name;
        std::vector<Rgba> overlay;
        float mix;
        unsigned passes;
    };
    const Case cases[] = {
        {"one pass", overlay, 0.5f, 1},
        {"no pass draws one", overlay, 0.5f, 0},
        {"two passes", overlay, 0.5f, 2},
        {"three passes", overlay, 0.8f, 3},
        {"ten passes", overlay, 0.5f, 10},
        {"a transparent overlay", filled({255, 255, 255, 0}), 1, 10},
        {"a flat overlay fully mixed: the mean of the neighbours", filled({90, 90, 90, 255}), 1, 1},
    };
    for (const Case& c : cases) {
        const Blend blend = blended(base, c.overlay, c.mix, c.passes);
        EXPECT_TRUE(pixelsNear(blend.readBack, relaxed(base, c.overlay, c.mix, c.passes), 2)) << c.name;
        // Targets are handed the last pass, whichever framebuffer it landed in.
        EXPECT_EQ(blend.received.bytes, blend.readBack.bytes) << c.name;
    }
    // The hand-worked mean: the top-left pixel's neighbours are itself twice, its right and below.
    EXPECT_NEAR(relaxed(base, filled({90, 90, 90, 255}), 1, 1)[0][0], (200 + 200 + 180 + 210) / 4.0, 1);
    EXPECT_EQ(relaxed(base, filled({255, 255, 255, 0}), 1, 10), base);
}

TEST(PixPoissonBlendFilter, FollowsAChangeOfPassesFromFrameToFrame) {
    auto poisson = PixPoissonBlendFilter::create();
    auto after = PixFilter::create();
    poisson->addTarget(after);
    const std::vector<Rgba> base = pixtest::testCard(kWidth, kHeight);
    std::vector<Rgba> opaqueBase = base;
    for (Rgba& pixel : opaqueBase)
        pixel[3] = 255;
    const std::vector<Rgba> overlay = filled({100, 100, 100, 255});
    auto baseSource = PixTestImageSource::create(kWidth, kHeight, opaqueBase);
    auto overlaySource = PixTestImageSource::create(kWidth, kHeight, overlay);
    baseSource->addTarget(poisson);
    overlaySource->addTarget(poisson);
    for (const unsigned passes : {2u, 3u, 4u, 1u}) {
        poisson->setNumIterations(passes);
        overlaySource->push();
        baseSource->push();
        const gl::RgbaImage received = after->newImageFromCurrentlyProcessedOutput();
        EXPECT_TRUE(pixelsNear(received, relaxed(opaqueBase, overlay, 0.5f, passes), 2)) << passes;
        EXPECT_EQ(poisson->newImageFromCurrentlyProcessedOutput().bytes, received.bytes) << passes;
    }
}

} // namespace
} // namespace zm
