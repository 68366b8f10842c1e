#include "framework/Source/PixContext.h"
#include "framework/Source/PixLookupFilter.h"
#include "framework/Source/PixLookupPresets.h"
#include "framework/Source/PixTestSupport.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Log.h"

#include <functional>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::pixelsNear;
using pixtest::PixTestImageSource;
using pixtest::Rgba;

// A table whose every tile is one colour of its own: tile n is (4n, 255 - 4n, 2n).
std::vector<Rgba> flatTiles() {
    std::vector<Rgba> pixels;
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            const int tile = (y / 64) * 8 + x / 64;
            pixels.push_back({static_cast<std::uint8_t>(4 * tile), static_cast<std::uint8_t>(255 - 4 * tile),
                              static_cast<std::uint8_t>(2 * tile), 255});
        }
    }
    return pixels;
}

Rgba tileColour(int tile) {
    return {static_cast<std::uint8_t>(4 * tile), static_cast<std::uint8_t>(255 - 4 * tile),
            static_cast<std::uint8_t>(2 * tile), 255};
}

// The pixels recoloured through the table, drawn at `outputWidth` x 1 (or the pixels' own size).
gl::RgbaImage lookedUp(const std::shared_ptr<PixOutput>& table, int width, int height, const std::vector<Rgba>& pixels,
                       core::Size forcedSize = {}) {
    auto lookup = PixLookupFilter::create();
    auto picture = PixTestImageSource::create(width, height, pixels);
    picture->addTarget(lookup);
    table->addTarget(lookup, 1);
    if (forcedSize.width > 0)
        lookup->forceProcessingAtSize(forcedSize);
    if (auto source = std::dynamic_pointer_cast<PixTestImageSource>(table))
        source->push();
    else
        std::static_pointer_cast<PixPicture>(table)->processImage();
    picture->push();
    return lookup->newImageFromCurrentlyProcessedOutput();
}

TEST(PixLookupFilter, TheIdentityTableReturnsItsInputWithinItsSteps) {
    auto identity = PixPicture::createWithURL(ZEMBRIX_TEST_DATA_DIR "/lookup_identity.png");
    ASSERT_TRUE(identity) << identity.error().text();
    const std::vector<Rgba> card = pixtest::testCard(16, 16);
    std::vector<Rgba> opaque;
    for (Rgba pixel : card) {
        pixel[3] = 255;
        opaque.push_back(pixel);
    }
    EXPECT_TRUE(pixelsNear(lookedUp(identity.value(), 16, 16, opaque), opaque, 2));
}

TEST(PixLookupFilter, ReadsTheTilesOfItsBlueAtItsRedAndGreen) {
    auto table = PixTestImageSource::create(512, 512, flatTiles());
    // Blue 85 is exactly 21 / 63: tile 21 alone, whatever the red and green, which never reach the
    // neighbouring tiles.
    EXPECT_TRUE(pixelsNear(lookedUp(table, 4, 1, {{0, 0, 85, 255}, {255, 255, 85, 255}, {0, 255, 85, 255}, {255, 0, 85, 90}}),
                           {tileColour(21), tileColour(21), tileColour(21), {84, 171, 42, 90}}, 1));
    EXPECT_TRUE(pixelsNear(lookedUp(table, 2, 1, {{0, 0, 0, 255}, {255, 255, 255, 255}}), {tileColour(0), tileColour(63)}, 1));
    // Blue 0.5 exactly (between a blue 0 and a blue 1 pixel, drawn at three pixels across): 31.5 mixes
    // tile 31 (column 7, row 3) and tile 32 (column 0, row 4) half and half.
    const gl::RgbaImage between = lookedUp(table, 2, 1, {{0, 0, 0, 255}, {0, 0, 255, 255}}, {3, 1});
    const Rgba expected{static_cast<std::uint8_t>((4 * 31 + 4 * 32) / 2), static_cast<std::uint8_t>((255 - 124 + 255 - 128) / 2),
                        static_cast<std::uint8_t>((62 + 64) / 2), 255};
    const Rgba middle = between.pixel(1, 0);
    for (int channel = 0; channel < 4; ++channel)
        EXPECT_NEAR(middle[channel], expected[channel], 1) << channel;
}

TEST(PixLookupPresets, EachChangesATestCardTheSameWayEveryTime) {
    constexpr int kWidth = 64, kHeight = 48;
    const std::vector<Rgba> card = pixtest::testCard(kWidth, kHeight);
    const std::pair<const char*, std::function<std::shared_ptr<PixLookupPresetFilter>()>> presets[] = {
        {"velloura", [] { return PixVellouraFilter::create(); }},
        {"corvane", [] { return PixCorvaneFilter::create(); }},
        {"soft elegance", [] { return PixSoftEleganceFilter::create(); }},
    };
    pixtest::PixContactSheet sheet;
    sheet.add("test card", pixtest::rgbaImage(kWidth, kHeight, card));
    for (const auto& [name, make] : presets) {
        std::vector<gl::RgbaImage> runs;
        for (int run = 0; run < 2; ++run) {
            auto preset = make();
            ASSERT_TRUE(preset) << name;
            auto picture = PixTestImageSource::create(kWidth, kHeight, card);
            picture->addTarget(preset);
            picture->push();
            runs.push_back(preset->newImageFromCurrentlyProcessedOutput());
        }
        EXPECT_FALSE(pixelsNear(runs[0], card, 6)) << name << " left the test card as it was";
        EXPECT_EQ(runs[0].bytes, runs[1].bytes) << name;
        sheet.add(name, runs[0]);
    }
    sheet.write("lookup-presets.png");
}

TEST(PixLookupPresets, APresetWithoutItsImageIsNotMade) {
    core::LogCapture log;
    const core::FileLocations saved = core::FileLocations::shared();
    core::FileLocations elsewhere = saved;
    elsewhere.resources = "/nonexistent";
    core::FileLocations::setShared(elsewhere);
    EXPECT_FALSE(PixVellouraFilter::create());
    EXPECT_FALSE(PixSoftEleganceFilter::create());
    core::FileLocations::setShared(saved);
    EXPECT_TRUE(log.messages().size() >= 2);
    EXPECT_NE(log.messages()[0].find("To use PixVellouraFilter you need to add lookup_velloura.png"), std::string::npos);
}

} // namespace
} // namespace zm
