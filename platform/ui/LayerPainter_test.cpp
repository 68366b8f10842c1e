#include "platform/ui/LayerPainter.h"

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <utility>

namespace ui::detail {
namespace {

std::int64_t bytesOf(const gfx::Bitmap& bitmap) {
    return std::int64_t{bitmap.bytesPerRow()} * bitmap.height();
}

TEST(SurfacePoolTest, AGrowingGroupHoldsOnePictureAtATime) {
    SurfacePool pool;
    const std::pair<int, int> sizes[] = {{40, 30}, {50, 40}, {90, 70}, {200, 150}, {201, 151}};
    const gfx::Bitmap* last = nullptr;
    for (const auto& [width, height] : sizes) {
        const std::shared_ptr<gfx::Bitmap> picture = pool.takeAtLeast(width, height);
        ASSERT_TRUE(picture);
        EXPECT_GE(picture->width(), width);
        EXPECT_GE(picture->height(), height);
        EXPECT_EQ(pool.keptBytes(), bytesOf(*picture)) << width << " x " << height;
        // Made a step larger, the picture still holds the next frame's group.
        if (width == 201) {
            EXPECT_EQ(picture.get(), last);
        }
        last = picture.get();
        pool.endFrame();
    }
}

TEST(SurfacePoolTest, KeptPicturesAreTakenAgainAndLetGoWhenAFrameTakesNone) {
    SurfacePool pool;
    std::shared_ptr<gfx::Bitmap> large = pool.takeAtLeast(200, 150);
    std::shared_ptr<gfx::Bitmap> small = pool.take(30, 20);
    pool.endFrame();
    const std::int64_t kept = pool.keptBytes();
    EXPECT_EQ(kept, bytesOf(*large) + bytesOf(*small));

    // The same groups in the next frame take the same pictures.
    const gfx::Bitmap* const largeBefore = large.get();
    const gfx::Bitmap* const smallBefore = small.get();
    large = pool.takeAtLeast(190, 140);
    small = pool.take(30, 20);
    EXPECT_EQ(large.get(), largeBefore);
    EXPECT_EQ(small.get(), smallBefore);
    EXPECT_EQ(pool.keptBytes(), kept);
    pool.endFrame();

    large.reset();
    small.reset();
    pool.endFrame();
    EXPECT_EQ(pool.keptBytes(), 0);
}

} // namespace
} // namespace ui::detail
