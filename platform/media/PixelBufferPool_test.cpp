#include "platform/media/PixelBufferPool.h"

#include <gtest/gtest.h>

namespace media {
namespace {

TEST(PixelBufferPool, HandsOutAtMostItsMaximumAndTakesBuffersBack) {
    const auto pool = PixelBufferPool::create(PixelFormat::BGRA, 8, 4, 2);
    ASSERT_TRUE(pool);
    auto first = pool->createPixelBuffer();
    auto second = pool->createPixelBuffer();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(second->width(), 8);
    EXPECT_FALSE(pool->createPixelBuffer()) << "both buffers are in use";

    first->setYCbCrMatrix(YCbCrMatrix::ITU_R_601);
    const PixelBuffer* firstAddress = first.get();
    first.reset();
    const auto again = pool->createPixelBuffer();
    EXPECT_EQ(again.get(), firstAddress) << "the released buffer is reused";
    EXPECT_FALSE(again->ycbcrMatrix()) << "a reused buffer starts without attachments";
}

TEST(PixelBufferPool, ABufferMayOutliveItsPool) {
    auto pool = PixelBufferPool::create(PixelFormat::BiPlanar420FullRange, 4, 4, 1);
    auto buffer = pool->createPixelBuffer();
    pool.reset();
    buffer->baseAddressOfPlane(1)[0] = 7;
    buffer.reset(); // freed, not returned: nothing to crash on under the sanitizers
    EXPECT_FALSE(PixelBufferPool::create(PixelFormat::BiPlanar420FullRange, 3, 4, 1));
    EXPECT_FALSE(PixelBufferPool::create(PixelFormat::BGRA, 3, 4, 0));
}

} // namespace
} // namespace media
