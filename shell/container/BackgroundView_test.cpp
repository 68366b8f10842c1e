#include "platform/gfx/Image.h"
#include "platform/gfx/ImageContext.h"
#include "platform/ui/Snapshot.h"
#include "shell/container/BackgroundView.h"

#include <future>
#include <thread>

#include <gtest/gtest.h>

namespace zm {
namespace {

// The picture may still be being read when the view is given it: the view's first drawing waits for it
// and shows it, never an empty surface.
TEST(BackgroundView, APictureStillBeingReadIsWaitedForAndDrawn) {
    std::promise<std::shared_ptr<const gfx::Image>> reading;
    const auto view = BackgroundView::create({0, 0, 4, 4});
    view->setImage(reading.get_future().share());
    std::thread reader([&] {
        gfx::ImageContext context({2, 2}, 1);
        context.canvas().setFillColor(core::Color::rgb255(200, 0, 0));
        context.canvas().fillRect({0, 0, 2, 2});
        reading.set_value(context.image());
    });
    const std::shared_ptr<const gfx::Image> shot = ui::snapshotImage(*view, 1);
    reader.join();
    ASSERT_TRUE(shot);
    const gfx::Pixel middle = shot->bitmap().pixel(2, 2);
    EXPECT_EQ(middle.red, 200);
    EXPECT_EQ(middle.alpha, 255);
    EXPECT_TRUE(view->image());
}

} // namespace
} // namespace zm
