#include "platform/gfx/Image.h"
#include "platform/ui/Layer.h"
#include "shell/intro/CustomPageControlView.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

// The alpha of the control's drawing at a point.
int alphaAt(const gfx::Image& image, core::Point point) {
    return image.bitmap().pixel(int(point.x), int(point.y)).alpha;
}

TEST(CustomPageControlView, DotsAreCentredInARowOfDiametersAndGaps) {
    const struct {
        core::Rect bounds;
        unsigned pages;
        float firstX; // centre of the first dot
    } cases[] = {
        // h 10: d 8, g 3; four dots make a row of 41 in 100.
        {{0, 0, 100, 10}, 4, 29.5f + 4},
        // One dot sits in the middle.
        {{0, 0, 50, 20}, 1, 25},
        // A row wider than the view overhangs both sides alike.
        {{0, 0, 20, 10}, 4, -10.5f + 4},
    };
    for (const auto& test : cases) {
        const float h = test.bounds.height();
        for (unsigned i = 0; i < test.pages; ++i) {
            const CustomPageControlView::Dot dot = CustomPageControlView::dot(test.bounds, test.pages, i);
            EXPECT_FLOAT_EQ(dot.diameter, 0.8f * h);
            EXPECT_FLOAT_EQ(dot.center.x, test.firstX + float(i) * 1.1f * h) << i;
            EXPECT_FLOAT_EQ(dot.center.y, h / 2);
        }
    }
}

TEST(CustomPageControlView, TheCurrentPagesDotIsOpaqueAndTheOthersFaint) {
    auto control = CustomPageControlView::createFromInterfaceFile();
    EXPECT_EQ(control->totalPages(), 4u);
    EXPECT_EQ(control->currentPage(), 0u);
    control->setFrame({0, 0, 100, 10});
    for (unsigned current : {0u, 2u}) {
        control->setCurrentPage(current);
        EXPECT_TRUE(control->layer().needsDisplay());
        const std::shared_ptr<const gfx::Image>& image = control->layer().drawing(1);
        ASSERT_TRUE(image);
        for (unsigned i = 0; i < 4; ++i) {
            const core::Point centre = CustomPageControlView::dot(control->bounds(), 4, i).center;
            const gfx::Pixel pixel = image->bitmap().pixel(int(centre.x), int(centre.y));
            EXPECT_EQ(pixel.alpha, i == current ? 255 : 64) << i;
            // White, premultiplied.
            EXPECT_EQ(pixel.red, pixel.alpha) << i;
            // Between the dots and outside the row nothing is drawn.
            EXPECT_EQ(alphaAt(*image, {centre.x + 5.5f, 5}), 0) << i;
            EXPECT_EQ(alphaAt(*image, {centre.x, 0}), 0) << i;
        }
        EXPECT_EQ(alphaAt(*image, {10, 5}), 0);
        EXPECT_EQ(alphaAt(*image, {90, 5}), 0);
    }
}

TEST(CustomPageControlView, AControlMadeInCodeDrawsNothingUntilItHasPages) {
    auto control = CustomPageControlView::create({0, 0, 100, 10});
    EXPECT_EQ(control->totalPages(), 0u);
    const std::shared_ptr<const gfx::Image>& none = control->layer().drawing(1);
    if (none) {
        EXPECT_EQ(alphaAt(*none, CustomPageControlView::dot(control->bounds(), 1, 0).center), 0);
    }
    // Setting the pages alone does not redraw.
    control->setTotalPages(3);
    EXPECT_FALSE(control->layer().needsDisplay());
    control->setNeedsDisplay();
    const std::shared_ptr<const gfx::Image>& drawn = control->layer().drawing(1);
    ASSERT_TRUE(drawn);
    for (unsigned i = 0; i < 3; ++i)
        EXPECT_GT(alphaAt(*drawn, CustomPageControlView::dot(control->bounds(), 3, i).center), 0) << i;
}

} // namespace
} // namespace zm
