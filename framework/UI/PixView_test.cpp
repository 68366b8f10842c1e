#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilter.h"
#include "framework/Source/PixPicture.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/UI/PixView.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Image.h"
#include "platform/host/HeadlessHost.h"
#include "platform/host/ScreenTesting.h"
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

// A window of the device with a display view over all of it, on a green background.
class PixViewScreen : public ::testing::TestWithParam<ui::Device> {
protected:
    PixViewScreen() {
        host.window().addSubview(view);
        view->setBackgroundColorRed(0, 1, 0, 1); // green
    }

    // Shows the picture in the view and takes the window's picture, kept as NAME.png.
    std::shared_ptr<const gfx::Image> show(const std::shared_ptr<PixPicture>& picture, const std::string& name) {
        picture->addTarget(view);
        picture->processImage();
        runSynchronouslyOnContextQueue([] {}); // the frame is drawn and on its way to the main queue
        host.runUntilIdle();
        return host::testing::keepScreenshot(host, name);
    }

    // The colour at a point of the view, in points.
    Rgba colourAt(const gfx::Image& screen, core::Point point) const {
        const float scale = GetParam().scale;
        const gfx::Pixel pixel = screen.bitmap().pixel(int(point.x * scale), int(point.y * scale));
        return {pixel.red, pixel.green, pixel.blue, pixel.alpha};
    }

    host::HeadlessHost host{GetParam()};
    std::shared_ptr<PixView> view =
        PixView::create({{0, 0}, GetParam().screenSize()});
};

const Rgba kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255}, kYellow{255, 255, 0, 255}, kRed{255, 0, 0, 255};

// 64 x 32, twice as wide as high: a blue band down the left quarter; right of it, yellow over the top
// quarter, red below. Wider than both screens, so fitting leaves bands above and below.
std::shared_ptr<PixPicture> markedPicture() {
    std::vector<Rgba> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            pixels.push_back(x < 16 ? kBlue : y < 8 ? kYellow : kRed);
    return PixPicture::create(*makeImage(64, 32, pixels));
}

// Where a point of the marked picture (fractions of its width and height) lands in a view of `size`.
core::Point placeOnScreen(PixViewFillMode mode, core::Point inPicture, core::Size size) {
    const float fitScale = std::min(size.width / 64, size.height / 32);
    const float fillScale = std::max(size.width / 64, size.height / 32);
    const float scale = mode == PixViewFillModeAspectFit ? fitScale : fillScale;
    const core::Size shown = mode == PixViewFillModeStretch ? size : core::Size{64 * scale, 32 * scale};
    return {size.width / 2 + (inPicture.x - 0.5f) * shown.width,
            size.height / 2 + (inPicture.y - 0.5f) * shown.height};
}

TEST_P(PixViewScreen, ShowsEachFillModeUprightOverItsBackground) {
    const core::Size size = GetParam().screenSize();
    struct Probe {
        core::Point inPicture;
        Rgba colour;
    };
    const Probe probes[] = {{{0.15f, 0.5f}, kBlue}, {{0.6f, 0.06f}, kYellow}, {{0.7f, 0.75f}, kRed},
                            {{0.95f, 0.94f}, kRed}};
    for (const PixViewFillMode mode : {PixViewFillModeAspectFit, PixViewFillModeAspectFill, PixViewFillModeStretch}) {
        view->setFillMode(mode);
        const std::string name = std::string("pixview-") +
                                 (mode == PixViewFillModeAspectFit    ? "fit"
                                  : mode == PixViewFillModeAspectFill ? "fill"
                                                                      : "stretch") +
                                 (GetParam().isTablet() ? "-tablet" : "-phone");
        const auto screen = show(markedPicture(), name);
        for (const Probe& probe : probes) {
            const core::Point point = placeOnScreen(mode, probe.inPicture, size);
            if (point.x < 0 || point.x >= size.width)
                continue; // cut off by filling
            EXPECT_EQ(colourAt(*screen, point), probe.colour) << name << " at " << point.x << ", " << point.y;
        }
        // The letterbox of a fitted picture shows the background; the others cover the whole view.
        const Rgba edge = colourAt(*screen, {size.width / 2, 2});
        EXPECT_EQ(edge == kGreen, mode == PixViewFillModeAspectFit) << name;
        EXPECT_EQ(colourAt(*screen, {size.width / 2, size.height - 2}) == kGreen, mode == PixViewFillModeAspectFit)
            << name;
    }
}

INSTANTIATE_TEST_SUITE_P(PhoneAndTablet, PixViewScreen,
                         ::testing::Values(ui::Device{ui::Idiom::Phone, 1}, ui::Device{ui::Idiom::Tablet, 1}),
                         [](const auto& info) { return info.param.isTablet() ? "Tablet" : "Phone"; });

TEST_P(PixViewScreen, QuarterTurnsShowTheSourceTurnedAndMirroredApart) {
    view->setFillMode(PixViewFillModeStretch);
    const core::Size size = GetParam().screenSize();
    std::vector<Rgba> seen;
    for (const PixInputRotation rotation : {PixInputRotationRotateRight, PixInputRotationRotateRightFlipHorizontal}) {
        runSynchronouslyOnContextQueue([&] { view->setInputRotation(rotation, 0); });
        const auto screen = show(markedPicture(), "pixview-rotation-" + std::to_string(rotation) +
                                                         (GetParam().isTablet() ? "-tablet" : "-phone"));
        // Turned right, the picture's left band runs along the top edge.
        seen.push_back(colourAt(*screen, {size.width / 2, 5}));
        seen.push_back(colourAt(*screen, {size.width - 5, size.height / 2}));
    }
    EXPECT_EQ(seen[0], kBlue);
    EXPECT_NE(seen, (std::vector<Rgba>{seen[0], seen[1], seen[0], seen[1]}));
}

TEST(PixView, SwapsARotatedInputSizeAndFollowsItsOwnSize) {
    host::HeadlessHost host{ui::Device{ui::Idiom::Phone, 1}};
    auto view = PixView::create({0, 0, 160, 160});
    host.window().addSubview(view);
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
