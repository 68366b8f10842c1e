#include "platform/media/PixelBuffer.h"

#include <gtest/gtest.h>

namespace media {
namespace {

TEST(PixelBuffer, RowsStartOnSixtyFourByteBoundaries) {
    struct Case {
        PixelFormat format;
        int width, height;
        std::size_t lumaRow, chromaRow;
    };
    for (const Case c : {Case{PixelFormat::BGRA, 10, 3, 64, 0}, Case{PixelFormat::BGRA, 16, 1, 64, 0},
                         Case{PixelFormat::BGRA, 17, 1, 128, 0},
                         Case{PixelFormat::BiPlanar420FullRange, 64, 48, 64, 64},
                         Case{PixelFormat::BiPlanar420VideoRange, 66, 2, 128, 128}}) {
        const auto buffer = PixelBuffer::create(c.format, c.width, c.height);
        ASSERT_TRUE(buffer) << c.width;
        EXPECT_EQ(buffer->bytesPerRowOfPlane(0), c.lumaRow) << c.width;
        if (buffer->isPlanar()) {
            EXPECT_EQ(buffer->bytesPerRowOfPlane(1), c.chromaRow) << c.width;
            EXPECT_EQ(buffer->widthOfPlane(1), c.width / 2);
            EXPECT_EQ(buffer->heightOfPlane(1), c.height / 2);
            // The chroma plane follows the whole luma plane.
            EXPECT_EQ(buffer->baseAddressOfPlane(1) - buffer->baseAddressOfPlane(0),
                      static_cast<std::ptrdiff_t>(c.lumaRow * c.height));
        }
    }
}

TEST(PixelBuffer, RefusesSizesWithoutPixelsAndOddPlanarSizes) {
    EXPECT_FALSE(PixelBuffer::create(PixelFormat::BGRA, 0, 4));
    EXPECT_FALSE(PixelBuffer::create(PixelFormat::BGRA, 4, -1));
    EXPECT_FALSE(PixelBuffer::create(PixelFormat::BGRA, 1 << 20, 1 << 20));
    EXPECT_FALSE(PixelBuffer::create(PixelFormat::BiPlanar420FullRange, 5, 4));
    EXPECT_TRUE(PixelBuffer::create(PixelFormat::BGRA, 5, 3));
}

} // namespace
} // namespace media
