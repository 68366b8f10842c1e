#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilter.h"
#include "framework/Source/PixPicture.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/UI/PixView.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Image.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Device.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::makeImage;
using pixtest::Rgba;

TEST(PixView, QuadHalfExtentsFollowTheFillMode) {
    struct Case {
        PixViewFillMode mode;
        core::Size half;
    };
    for (const Case c : {Case{PixViewFillModeAspectFit, {1, 0.75f}}, Case{PixViewFillModeAspectFill, {4.0f / 3, 1}},
                         Case{PixViewFillModeStretch, {1, 1}}}) {
        const core::Size half = PixView::quadHalfExtents(c.mode, {640, 480}, {320, 320});
        EXPECT_FLOAT_EQ(half.width, c.half.width) << c.mode;
        EXPECT_FLOAT_EQ(half.height, c.half.height) << c.mode;
    }
}

TEST(PixView, RotationTableIsTheOffscreenOneMirroredTopToBottom) {
    for (int rotation = 0; rotation < 8; ++rotation) {
        const auto& offscreen = PixFilter::textureCoordinatesForRotation(PixInputRotation(rotation));
        const auto& display = PixView::textureCoordinatesForRotation(PixInputRotation(rotation));
        // Quarter turns run s down the display, the others t.
        const int mirrored = PixRotationSwapsWidthAndHeight(PixInputRotation(rotation)) ? 0 : 1;
        for (int corner = 0; corner < 4; ++corner) {
            for (int axis = 0; axis < 2; ++axis) {
                const GLfloat expected = axis == mirrored ? 1 - offscreen[corner * 2 + axis]
                                                          : offscreen[corner * 2 + axis];
                EXPECT_EQ(display[corner * 2 + axis], expected) << "rotation " << rotation << " corner " << corner;
            }
        }
    }
}

// A phone window at scale 1 with a 160 x 160 display view in its top-left corner.
class PixViewScreen : public ::testing::Test {
protected:
    PixViewScreen() {
        host.window().addSubview(view);
        view->setBackgroundColorRed(0, 1, 0, 1); // green
    }

    // Shows the picture in the view and takes the window's picture.
    std::shared_ptr<const gfx::Image> show(const std::shared_ptr<PixPicture>& picture) {
        picture->addTarget(view);
        picture->processImage();
        runSynchronouslyOnContextQueue([] {}); // the frame is drawn and on its way to the main queue
        host.runUntilIdle();
        return host.screenshot();
    }

    static Rgba colourAt(const gfx::Image& screen, int x, int y) {
        const gfx::Pixel pixel = screen.bitmap().pixel(x, y);
        return {pixel.red, pixel.green, pixel.blue, pixel.alpha};
    }

    host::HeadlessHost host{ui::Device{ui::Idiom::Phone, 1}};
    std::shared_ptr<PixView> view = PixView::create({0, 0, 160, 160});
};

// 64 x 48: a blue band down the left quarter; right of it, yellow over the top quarter, red below.
std::shared_ptr<PixPicture> markedPicture() {
    std::vector<Rgba> pixels;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            pixels.push_back(x < 16 ? Rgba{0, 0, 255, 255} : y < 12 ? Rgba{255, 255, 0, 255} : Rgba{255, 0, 0, 255});
    return PixPicture::create(*makeImage(64, 48, pixels));
}

TEST_F(PixViewScreen, ShowsEachFillModeUprightOverItsBackground) {
    const Rgba green{0, 255, 0, 255}, blue{0, 0, 255, 255}, yellow{255, 255, 0, 255}, red{255, 0, 0, 255};
    struct Probe {
        int x, y;
        Rgba colour;
    };
    struct Case {
        PixViewFillMode mode;
        std::vector<Probe> probes;
    };
    // Fit: 160 x 120 between green bands of 20; fill: 213 x 160, cropped 27 each side; stretch: 160 x 160.
    const Case cases[] = {
        {PixViewFillModeAspectFit, {{80, 10, green}, {80, 150, green}, {30, 80, blue}, {100, 30, yellow}, {100, 130, red}}},
        {PixViewFillModeAspectFill, {{80, 5, yellow}, {80, 155, red}, {20, 80, blue}, {33, 80, red}}},
        {PixViewFillModeStretch, {{80, 5, yellow}, {80, 155, red}, {33, 80, blue}, {45, 80, red}}},
    };
    for (const Case& c : cases) {
        view->setFillMode(c.mode);
        const auto screen = show(markedPicture());
        for (const Probe& probe : c.probes)
            EXPECT_EQ(colourAt(*screen, probe.x, probe.y), probe.colour)
                << "mode " << c.mode << " at " << probe.x << ", " << probe.y;
    }
}

TEST_F(PixViewScreen, QuarterTurnsShowTheSourceTurnedAndMirroredApart) {
    view->setFillMode(PixViewFillModeStretch);
    std::vector<Rgba> seen;
    for (const PixInputRotation rotation : {PixInputRotationRotateRight, PixInputRotationRotateRightFlipHorizontal}) {
        runSynchronouslyOnContextQueue([&] { view->setInputRotation(rotation, 0); });
        const auto screen = show(markedPicture());
        seen.push_back(colourAt(*screen, 80, 5)); // the top edge: the picture's left band, turned right
        seen.push_back(colourAt(*screen, 150, 80));
    }
    EXPECT_EQ(seen[0], (Rgba{0, 0, 255, 255}));
    EXPECT_NE(seen, (std::vector<Rgba>{seen[0], seen[1], seen[0], seen[1]}));
}

TEST_F(PixViewScreen, SwapsARotatedInputSizeAndFollowsItsOwnSize) {
    runSynchronouslyOnContextQueue([&] {
        view->setInputRotation(PixInputRotationRotateRight, 0);
        view->setInputSize({480, 640}, 0); // shown as 640 x 480: fitted to (1, 0.75) of a square view
    });
    EXPECT_EQ(view->imageVertices(), (std::array<GLfloat, 8>{-1, -0.75f, 1, -0.75f, -1, 0.75f, 1, 0.75f}));
    EXPECT_EQ(view->sizeInPixels(), (core::Size{160, 160}));

    view->setFrame({0, 0, 320, 160});
    view->layoutIfNeeded();
    EXPECT_EQ(view->sizeInPixels(), (core::Size{320, 160}));
    // 640 x 480 in 320 x 160: 213 x 160.
    EXPECT_NEAR(view->imageVertices()[0], -213.33f / 320, 1e-3);

    view->setFrame({0, 0, 0, 0}); // folded away: keeps what it had
    view->layoutIfNeeded();
    EXPECT_EQ(view->sizeInPixels(), (core::Size{320, 160}));
}

} // namespace
} // namespace zm
