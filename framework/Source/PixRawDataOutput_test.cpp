#include "framework/Source/PixContext.h"
#include "framework/Source/PixRawDataOutput.h"
#include "framework/Source/PixTestSupport.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::PixTestImageSource;
using pixtest::Rgba;

constexpr int kWidth = 10; // 40 bytes of pixels in a 64-byte row
constexpr int kHeight = 4;

// Every pixel of the 10 x 4 test picture differs: red counts columns, green rows (from the top).
Rgba pixelAt(int column, int row) {
    return {static_cast<std::uint8_t>(10 + column * 20), static_cast<std::uint8_t>(30 + row * 50), 7, 255};
}

std::shared_ptr<PixTestImageSource> numberedPicture() {
    std::vector<Rgba> pixels;
    for (int row = 0; row < kHeight; ++row)
        for (int column = 0; column < kWidth; ++column)
            pixels.push_back(pixelAt(column, row));
    return PixTestImageSource::create(kWidth, kHeight, pixels);
}

GPUByteColorVector colour(Rgba rgba) {
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

// The source's texture lives as long as the source: keep it while reading.
struct Graph {
    std::shared_ptr<PixTestImageSource> source;
    std::shared_ptr<PixRawDataOutput> output;
};

Graph outputOf(std::shared_ptr<PixTestImageSource> source, bool bgra) {
    auto output = PixRawDataOutput::create({kWidth, kHeight}, bgra);
    source->addTarget(output);
    source->push();
    return {std::move(source), std::move(output)};
}

TEST(PixRawDataOutput, ColourAtLocationClampsAndCountsRowsFromTheBottomOverPaddedRows) {
    struct Case {
        core::Point location;
        int column, row; // of the picture, from its top-left
    };
    const Case cases[] = {
        {{3, 2}, 3, 2},         {{-5, 2}, 0, 2},  {{25, 2}, 9, 2},
        {{3, 0}, 3, kHeight - 1}, // y = 0 is the bottom row
        {{3, kHeight}, 3, 0},     // y = height is the top row
        {{3, 1}, 3, 3},           {{9, 3}, 9, 1},
    };
    for (const bool bgra : {false, true}) {
        auto [source, output] = outputOf(numberedPicture(), bgra);
        for (const Case& c : cases)
            EXPECT_EQ(output->colorAtLocation(c.location), colour(pixelAt(c.column, c.row)))
                << "at " << c.location.x << ", " << c.location.y << (bgra ? " BGRA" : " RGBA");
    }
}

TEST(PixRawDataOutput, HandsOutBytesInEitherOrderTopRowFirst) {
    for (const bool bgra : {false, true}) {
        auto [source, output] = outputOf(numberedPicture(), bgra);
        const std::uint8_t* bytes = output->rawBytesForImage();
        ASSERT_TRUE(bytes);
        const std::size_t row = output->bytesPerRowInOutput();
        for (const auto& [column, line] : {std::pair{0, 0}, std::pair{7, 3}}) {
            const std::uint8_t* pixel = bytes + line * row + column * 4;
            const Rgba expected = pixelAt(column, line);
            const Rgba got = bgra ? Rgba{pixel[2], pixel[1], pixel[0], pixel[3]}
                                  : Rgba{pixel[0], pixel[1], pixel[2], pixel[3]};
            EXPECT_EQ(got, expected) << (bgra ? "BGRA" : "RGBA") << " at " << column << ", " << line;
        }
    }
}

TEST(PixRawDataOutput, DrawsOnceAFrameHoweverOftenItIsRead) {
    auto red = PixTestImageSource::filled(kWidth, kHeight, {255, 0, 0, 255});
    auto blue = PixTestImageSource::filled(kWidth, kHeight, {0, 0, 255, 255});
    auto output = outputOf(red, false).output;
    const std::uint8_t* first = output->rawBytesForImage();

    // Another texture arrives without a new frame: a second read must not draw it.
    runSynchronouslyOnContextQueue([&] { output->setInputTexture(blue->textureForOutput(), 0); });
    EXPECT_EQ(output->rawBytesForImage(), first);
    EXPECT_EQ(output->colorAtLocation({1, 1}), colour({255, 0, 0, 255}));

    runSynchronouslyOnContextQueue([&] { output->newFrameReadyAtTime({}, 0); });
    EXPECT_EQ(output->colorAtLocation({1, 1}), colour({0, 0, 255, 255}));
}

TEST(PixRawDataOutput, RowLengthIsZeroUntilReadAndFollowsTheSize) {
    auto [source, output] = outputOf(numberedPicture(), false);
    EXPECT_EQ(output->bytesPerRowInOutput(), 0u);
    output->rawBytesForImage();
    EXPECT_EQ(output->bytesPerRowInOutput(), 64u);

    output->setImageSize({20, 2});
    EXPECT_EQ(output->bytesPerRowInOutput(), 0u);
    ASSERT_TRUE(output->rawBytesForImage());
    EXPECT_EQ(output->bytesPerRowInOutput(), 128u);
    // The input is drawn again at the new size: the right half of 20 columns is the picture's right half.
    EXPECT_EQ(output->colorAtLocation({19, 2}).red, pixelAt(9, 0)[0]);
}

TEST(PixRawDataOutput, TellsTheNewFrameBlockOnTheProcessingQueue) {
    auto source = numberedPicture();
    auto output = PixRawDataOutput::create({kWidth, kHeight}, false);
    GPUByteColorVector seen;
    output->setNewFrameAvailableBlock([&] { seen = output->colorAtLocation({0, kHeight}); });
    source->addTarget(output);
    source->push();
    runSynchronouslyOnContextQueue([] {});
    EXPECT_EQ(seen, colour(pixelAt(0, 0)));
}

} // namespace
} // namespace zm
