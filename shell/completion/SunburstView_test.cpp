#include "platform/gfx/Image.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Snapshot.h"
#include "platform/ui/Window.h"
#include "shell/completion/SunburstView.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

namespace zm {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// The angle of a transform's rotation, in radians (positive: clockwise on screen).
float angleOf(const core::AffineTransform& transform) {
    return std::atan2(transform.b, transform.a);
}

class SunburstTest : public ::testing::Test {
protected:
    std::shared_ptr<SunburstView> show(const core::Rect& frame) {
        auto view = SunburstView::create(frame);
        host.window().addSubview(view);
        return view;
    }

    host::HeadlessHost host{ui::Device{ui::Idiom::Phone, 1}};
};

TEST_F(SunburstTest, IsASquareAsHighAsItsFrameCentredOnTheFramesWidth) {
    EXPECT_EQ(SunburstView::create({0, 0, 320, 480})->frame(), (core::Rect{-80, 0, 480, 480}));
    EXPECT_EQ(SunburstView::create({0, 0, 480, 320})->frame(), (core::Rect{80, 0, 320, 320}));
    // The frame's own x is not used; its y is.
    EXPECT_EQ(SunburstView::create({50, 10, 1024, 768})->frame(), (core::Rect{128, 10, 768, 768}));

    const auto view = SunburstView::create({0, 0, 480, 320});
    EXPECT_EQ(view->speed(), 2.0f);
    EXPECT_EQ(view->startAlpha(), 0.075f);
    EXPECT_FALSE(view->reverseDirection());
}

// A full turn takes `speed` seconds, clockwise or, reversed, counter-clockwise; each quarter turn
// starts again from the picture the last one ended on.
TEST_F(SunburstTest, SpinsAQuarterTurnEverySpeedQuarterSecondsWithoutEnd) {
    struct Case {
        float speed;
        bool reverse;
        double at;
        float angle;
    };
    const Case cases[] = {
        {12, false, 1.5, kPi / 4}, {12, false, 3.0 + 2.25, 3 * kPi / 8},
        {24, true, 3.0, -kPi / 4}, {24, true, 6.0 + 1.5, -kPi / 8},
        {4, false, 0.5, kPi / 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "speed " << c.speed << (c.reverse ? " reversed" : "") << " at " << c.at);
        const auto view = show({0, 0, 480, 320});
        view->setSpeed(c.speed);
        view->setReverseDirection(c.reverse);
        view->spin();
        // The model is one quarter turn on; the screen moves there evenly, again and again.
        EXPECT_NEAR(angleOf(view->transform()), c.reverse ? -kPi / 2 : kPi / 2, 1e-5f);
        const double start = host.now();
        host.advance(c.at);
        EXPECT_NEAR(host.now() - start, c.at, 1e-6);
        EXPECT_NEAR(angleOf(view->presentation().transform), c.angle, 0.02f);
        // Only the transform moves: the size stays.
        EXPECT_NEAR(std::hypot(view->presentation().transform.a, view->presentation().transform.b), 1, 1e-4f);
        view->removeFromSuperview();
    }
}

// Alpha of the picture at a point given by its angle (degrees, clockwise from the right) and its
// distance from the centre as a share of the radius.
int alphaAt(const gfx::Image& picture, float degrees, float share) {
    const float half = float(picture.pixelWidth()) / 2;
    const float radians = degrees * kPi / 180;
    const int x = int(half + share * half * std::cos(radians));
    const int y = int(half + share * half * std::sin(radians));
    return picture.bitmap().pixel(x, y).alpha;
}

TEST_F(SunburstTest, DrawsTwelveRaysThatFadeFromTheCentre) {
    const auto view = show({0, 0, 400, 400});
    const std::shared_ptr<const gfx::Image> picture = ui::snapshotImage(*view);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->pixelWidth(), 400);
    for (int ray = 0; ray < 12; ++ray) {
        SCOPED_TRACE(::testing::Message() << "ray " << ray);
        const float middle = float(ray) * 30 + 7.5f;
        // In the ray: white, fainter outwards; in the gap after it: nothing.
        const int near = alphaAt(*picture, middle, 0.1f);
        const int far = alphaAt(*picture, middle, 0.8f);
        EXPECT_GT(near, far);
        EXPECT_GT(far, 0);
        EXPECT_EQ(alphaAt(*picture, middle + 15, 0.1f), 0);
        EXPECT_EQ(alphaAt(*picture, middle + 15, 0.8f), 0);
        const gfx::Pixel pixel = picture->bitmap().pixel(200 + int(80 * std::cos(middle * kPi / 180)),
                                                         200 + int(80 * std::sin(middle * kPi / 180)));
        EXPECT_EQ(pixel.red, pixel.alpha) << "white, premultiplied";
    }
    // 7.5 per cent of full opacity at the centre, fading evenly to nothing at the rim and beyond it
    // (measured a little way out: the picture is coarse, and right at the centre the rays meet the
    // gaps within a pixel).
    EXPECT_NEAR(alphaAt(*picture, 7.5f, 0.1f), 0.075 * 255 * 0.9, 2);
    EXPECT_EQ(alphaAt(*picture, 7.5f, 0.999f), 0);
    EXPECT_EQ(picture->bitmap().pixel(2, 2).alpha, 0);
}

TEST_F(SunburstTest, AFainterStartMakesFainterRays) {
    const auto strong = show({0, 0, 400, 400});
    const auto faint = show({0, 0, 400, 400});
    faint->setStartAlpha(0.025f);
    const std::shared_ptr<const gfx::Image> strongPicture = ui::snapshotImage(*strong);
    const std::shared_ptr<const gfx::Image> faintPicture = ui::snapshotImage(*faint);
    for (float share : {0.02f, 0.3f}) {
        const float ratio =
            float(alphaAt(*faintPicture, 7.5f, share)) / float(alphaAt(*strongPicture, 7.5f, share));
        EXPECT_NEAR(ratio, 1.0f / 3, 0.1f) << share;
    }
}

} // namespace
} // namespace zm
