#include "platform/gfx/Image.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/ShapeLayer.h"
#include "platform/ui/Window.h"
#include "shell/progression/CircleDrawerView.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace zm {
namespace {

// At scale 2 a one-point line covers whole pixels.
const ui::Device kPhone{ui::Idiom::Phone, 2};
const ui::Device kTablet{ui::Idiom::Tablet, 2};

// The brightest channel sum (0 to 765) among the pixels within a point of `point`.
int brightness(const gfx::Image& image, core::Point point) {
    const float scale = image.scale();
    int brightest = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int x = int(point.x * scale) + dx, y = int(point.y * scale) + dy;
            if (x < 0 || y < 0 || x >= image.pixelWidth() || y >= image.pixelHeight())
                continue;
            const gfx::Pixel pixel = image.bitmap().pixel(x, y);
            brightest = std::max(brightest, pixel.red + pixel.green + pixel.blue);
        }
    }
    return brightest;
}

// A row of dots on the black window of a headless device.
class CircleDrawerTest : public ::testing::Test {
protected:
    void show(const ui::Device& device, uint32_t total, core::Rect frame) {
        host.reset();
        host = std::make_unique<host::HeadlessHost>(device);
        row = CircleDrawerView::create(frame);
        row->setTotalCircles(total);
        host->window().addSubview(row);
    }
    // Where the centre of dot `index` is drawn, in window points.
    core::Point dot(uint32_t index) const {
        const float step = row->spacing() + row->circleWidth();
        const bool second = row->numRows() == 2 && index >= 4;
        const float x = row->xOffset() + float(second ? index - 4 : index) * step;
        const float share = row->numRows() == 1 ? 0.5f : second ? 0.75f : 0.25f;
        return {row->frame().minX() + x, row->frame().minY() + share * row->frame().height()};
    }
    core::Point rim(uint32_t index) const {
        const core::Point center = dot(index);
        return {center.x + row->circleWidth() / 2, center.y};
    }
    std::shared_ptr<const gfx::Image> picture() { return host->screenshot(); }

    std::unique_ptr<host::HeadlessHost> host;
    std::shared_ptr<CircleDrawerView> row;
};

TEST_F(CircleDrawerTest, RowsAreSizedForTheirDotsOnEachDevice) {
    struct Case {
        ui::Device device;
        uint32_t total;
        int rows;
        float circleWidth;
        float spacing;
        float requestedWidth;
    };
    const Case cases[] = {
        {kPhone, 4, 1, 17, 5, 4 * 17 + 5 * 5},
        {kTablet, 4, 1, 25, 5, 4 * 25 + 5 * 5},
        {kPhone, 8, 2, 12, 2, 4 * 12 + 5 * 2},
        {kTablet, 8, 2, 17, 2, 4 * 17 + 5 * 2},
        {kPhone, 6, 2, 12, 2, 4 * 12 + 5 * 2},
        {kTablet, 2, 1, 25, 5, 2 * 25 + 3 * 5},
        {kPhone, 0, 1, 17, 5, 5},
    };
    for (const Case& c : cases) {
        show(c.device, c.total, {0, 0, 100, 40});
        SCOPED_TRACE(testing::Message()
                     << c.total << " dots on " << (c.device.isTablet() ? "a tablet" : "a phone"));
        EXPECT_EQ(row->numRows(), c.rows);
        EXPECT_EQ(row->circleWidth(), c.circleWidth);
        EXPECT_EQ(row->spacing(), c.spacing);
        EXPECT_EQ(row->xOffset(), c.circleWidth / 2 + c.spacing);
        EXPECT_EQ(row->requestedWidth(), c.requestedWidth);
    }
}

TEST_F(CircleDrawerTest, SixDotsStandFourOverTwoWithSolvedInProgressAndOpenDots) {
    show(kPhone, 6, {20, 20, 58, 30});
    row->setCompletedCircles(3); // more than one above: at once
    row->setProblemInProgress(true);
    row->setNeedsDisplay();
    const std::shared_ptr<const gfx::Image> image = picture();
    // Solved: white discs.
    for (uint32_t i : {0u, 1u, 2u})
        EXPECT_GT(brightness(*image, dot(i)), 700) << "dot " << i;
    // In progress: a white ring, dark inside.
    EXPECT_GT(brightness(*image, rim(3)), 600);
    EXPECT_LT(brightness(*image, dot(3)), 60);
    // Open dots of the selected row: faint rings (white at a quarter) on the second line.
    for (uint32_t i : {4u, 5u}) {
        EXPECT_GT(brightness(*image, rim(i)), 120) << "dot " << i;
        EXPECT_LT(brightness(*image, rim(i)), 300) << "dot " << i;
        EXPECT_LT(brightness(*image, dot(i)), 60) << "dot " << i;
    }
    // No seventh dot.
    EXPECT_EQ(brightness(*image, dot(6)), 0);
    EXPECT_EQ(brightness(*image, rim(6)), 0);
}

TEST_F(CircleDrawerTest, ADimmedRowOutlinesItsOpenDotsInWhiteUnderItsOpacity) {
    show(kTablet, 4, {20, 20, 125, 40});
    row->setAlpha(0.25f);
    row->setCompletedCircles(0);
    const std::shared_ptr<const gfx::Image> image = picture();
    for (uint32_t i = 0; i < 4; ++i) {
        // Opaque white under a quarter opacity: a quarter of full brightness, not a sixteenth.
        EXPECT_GT(brightness(*image, rim(i)), 120) << "dot " << i;
        EXPECT_LT(brightness(*image, rim(i)), 260) << "dot " << i;
    }
}

TEST_F(CircleDrawerTest, ADotFillsClockwiseFromTheTopInTwoSecondsBeforeTheCountMovesOn) {
    show(kTablet, 4, {20, 20, 125, 40});
    row->setCompletedCircles(1);
    EXPECT_EQ(row->completedCircles(), 0u);
    EXPECT_TRUE(row->problemInProgress());
    ASSERT_TRUE(row->circleLayer());
    EXPECT_TRUE(row->circleLayer()->animation(CircleDrawerView::kFillAnimationKey));

    // Half way: the right half of the dot is swept, the left half not yet.
    host->advance(1.0);
    const core::Point center = dot(0);
    const float quarter = row->circleWidth() / 4;
    std::shared_ptr<const gfx::Image> image = picture();
    EXPECT_GT(brightness(*image, {center.x + quarter, center.y}), 700);
    EXPECT_LT(brightness(*image, {center.x - quarter, center.y}), 60);
    EXPECT_EQ(row->completedCircles(), 0u);

    host->advance(1.1);
    EXPECT_EQ(row->completedCircles(), 1u);
    EXPECT_FALSE(row->problemInProgress());
    // The finished sweep stays over the filled dot.
    EXPECT_EQ(row->circleLayer()->superlayer(), &row->layer());
    image = picture();
    EXPECT_GT(brightness(*image, {center.x - quarter, center.y}), 700);
    EXPECT_LT(brightness(*image, dot(1)), 60);
}

TEST_F(CircleDrawerTest, OtherCountsAreShownAtOnce) {
    show(kPhone, 8, {20, 20, 58, 30});
    for (uint32_t count : {2u, 6u, 1u, 1u, 8u}) {
        row->setCompletedCircles(count);
        EXPECT_EQ(row->completedCircles(), count);
        EXPECT_FALSE(row->circleLayer()) << "no sweep for " << count;
    }
}

TEST_F(CircleDrawerTest, AFullRowOnlyStopsShowingADotInProgress) {
    show(kPhone, 4, {20, 20, 93, 30});
    row->setCompletedCircles(4);
    row->setProblemInProgress(true);
    row->animateCircle();
    EXPECT_FALSE(row->problemInProgress());
    EXPECT_FALSE(row->circleLayer());
    EXPECT_EQ(row->completedCircles(), 4u);
}

TEST_F(CircleDrawerTest, AnInterruptedSweepCountsNothing) {
    show(kTablet, 4, {20, 20, 125, 40});
    row->setCompletedCircles(1);
    host->advance(0.5);
    // The count given again restarts the sweep; the replaced one counts nothing.
    row->setCompletedCircles(1);
    host->advance(1.9);
    EXPECT_EQ(row->completedCircles(), 0u);
    host->advance(0.2);
    EXPECT_EQ(row->completedCircles(), 1u);

    // A row taken off the screen stops its sweep unfinished.
    row->setCompletedCircles(2);
    host->advance(0.5);
    row->removeFromSuperview();
    host->advance(2);
    EXPECT_EQ(row->completedCircles(), 1u);
}

} // namespace
} // namespace zm
