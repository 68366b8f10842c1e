#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/PixelTesting.h"
#include "platform/ui/Application.h"
#include "platform/ui/DynamicAnimator.h"
#include "platform/ui/Snapshot.h"
#include "platform/ui/SoundPlayer.h"
#include "platform/ui/ViewAnimation.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <numbers>

#include <gtest/gtest.h>

namespace ui {
namespace {

using namespace gfx::testing_pixels;

// The most any channel of a pixel differs between the two.
int largestDifference(const gfx::Bitmap& a, const gfx::Bitmap& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const gfx::Pixel p = a.pixel(x, y);
            const gfx::Pixel q = b.pixel(x, y);
            for (const auto& [first, second] :
                 {std::pair{p.blue, q.blue}, {p.green, q.green}, {p.red, q.red}, {p.alpha, q.alpha}})
                largest = std::max(largest, std::abs(int(first) - int(second)));
        }
    return largest;
}

class ApplicationTest : public ::testing::Test {
protected:
    struct CountingDisplay : Display {
        void present(const gfx::Bitmap&, std::span<const core::Rect>) override { ++frames; }
        int frames = 0;
    };
    struct SilentSounds : SoundPlayer {
        SoundId load(std::string_view) override { return 0; }
        void play(SoundId) override {}
    };

    void advance(double seconds) { loop.advanceBy(core::fromSeconds(seconds)); }

    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    core::MainLoop loop{clock};
    CountingDisplay display;
    SilentSounds sounds;
    Application application{loop, Device{Idiom::Phone, 2}, display, sounds};
    Window& window = application.window();
};

TEST_F(ApplicationTest, TheWindowCoversTheScreenOfTheDevice) {
    EXPECT_EQ(window.bounds(), core::Rect(0, 0, 480, 320));
    EXPECT_EQ(application.frame().width(), 960);
    EXPECT_EQ(application.frame().height(), 640);
    EXPECT_EQ(Device::current().idiom, Idiom::Phone);
    EXPECT_EQ(&Application::shared(), &application);
}

TEST_F(ApplicationTest, FramesComeOnlyWhileSomethingChanges) {
    advance(1);
    EXPECT_EQ(display.frames, 1); // the first picture, then quiet
    auto view = View::create({0, 0, 10, 10});
    window.addSubview(view);
    advance(1);
    EXPECT_EQ(display.frames, 2);

    animate({.duration = 0.5}, [&] { view->setCenter({100, 100}); });
    advance(1);
    // About one frame every sixtieth of a second while it moves, and the end state once.
    EXPECT_GE(display.frames, 2 + 30);
    EXPECT_LE(display.frames, 2 + 32);
    const int afterMove = display.frames;
    advance(1);
    EXPECT_EQ(display.frames, afterMove);
}

TEST_F(ApplicationTest, TheFrameShowsTheWindow) {
    auto view = View::create({10, 10, 20, 20});
    view->setBackgroundColor(core::Color::rgba(1, 0, 0));
    window.addSubview(view);
    application.renderIfNeeded();
    EXPECT_TRUE(pixelNear(application.frame(), 40, 40, kRed));
    EXPECT_TRUE(pixelNear(application.frame(), 80, 80, kBlack)); // the window is black behind
}

TEST_F(ApplicationTest, LayoutRunsBeforeTheFrameIsDrawn) {
    struct Growing : View {
        static std::shared_ptr<Growing> make() { return std::shared_ptr<Growing>(new Growing); }
        Growing()
            : View({0, 0, 50, 50}) {}
        void layoutSubviews() override { ++layouts; }
        int layouts = 0;
    };
    auto view = Growing::make();
    window.addSubview(view);
    advance(0.02);
    EXPECT_EQ(view->layouts, 1);
}

TEST_F(ApplicationTest, SnapshotsShowAStillOfTheirSource) {
    auto source = View::create({50, 60, 40, 30});
    source->setBackgroundColor(core::Color::rgba(0, 0, 1));
    window.addSubview(source);
    auto still = SnapshotView::create(*source);
    EXPECT_EQ(still->frame(), source->frame());
    source->setBackgroundColor(core::Color::rgba(0, 1, 0)); // later changes do not reach the still
    window.addSubview(still);
    application.renderIfNeeded();
    EXPECT_TRUE(pixelNear(application.frame(), 2 * 70, 2 * 75, kBlue));
    const auto image = snapshotImage(*source);
    EXPECT_EQ(image->pixelWidth(), 80);
    EXPECT_TRUE(pixelNear(image->bitmap(), 10, 10, kGreen));
}

TEST_F(ApplicationTest, ASnapshotGrownPastTheScreenKeepsOnlyWhatShows) {
    // A source of stripes and a translucent corner, so that every pixel of the still differs from its
    // neighbours.
    auto source = View::create(window.bounds());
    for (int stripe = 0; stripe < 12; ++stripe) {
        auto part = View::create({float(stripe) * 40, float(stripe) * 7, 37, 300});
        part->setBackgroundColor(core::Color::rgba(float(stripe) / 12, 0.4f, 1 - float(stripe) / 12, 0.9f));
        source->addSubview(part);
    }
    window.addSubview(source);
    auto still = SnapshotView::create(*source);
    source->removeFromSuperview();
    window.addSubview(still);
    // Enlarged 3.3 times about a point off its middle, fading: a zoom's outgoing screen on its way.
    still->setCenter({100.3f, 250.7f});
    still->setTransform(core::AffineTransform::makeScale(3.3f, 3.3f));
    still->setAlpha(0.6f);
    application.renderIfNeeded();
    const std::unique_ptr<gfx::Bitmap> whole = application.frame().copy(0, 0, 960, 640);

    const LayerState state = still->layer().presentation();
    const core::Rect showing = state.toSuperlayer().inverted().apply(window.bounds()).intersected(state.bounds);
    still->keepOnly(showing);
    application.renderIfNeeded();
    // The same pixels, placed from the part's own rectangle: a step of rounding apart here and there.
    EXPECT_LE(largestDifference(application.frame(), *whole), 1);
    const std::shared_ptr<const gfx::Image>& kept = still->layer().contents();
    ASSERT_TRUE(kept);
    // The window's share of the enlarged still, with a pixel around it.
    EXPECT_LE(kept->pixelWidth(), int(std::ceil(960 / 3.3f)) + 4);
    EXPECT_LE(kept->pixelHeight(), int(std::ceil(640 / 3.3f)) + 4);

    // Moved wholly off the screen, it keeps nothing.
    still->keepOnly(core::Rect::null());
    EXPECT_FALSE(still->layer().contents());
}

TEST_F(ApplicationTest, TransitionsSwapViewsWhenTheyEnd) {
    auto outgoing = View::create(window.bounds());
    auto incoming = View::create(window.bounds());
    window.addSubview(outgoing);
    incoming->setAlpha(0);
    int completions = 0;
    transition(
        *outgoing, incoming, {.duration = 0.5}, [&] { incoming->setAlpha(1); },
        [&](bool finished) {
            EXPECT_TRUE(finished);
            ++completions;
        });
    EXPECT_EQ(incoming->superview(), &window);
    EXPECT_EQ(outgoing->superview(), &window);
    advance(0.6);
    EXPECT_EQ(outgoing->superview(), nullptr);
    EXPECT_EQ(completions, 1);
}

TEST_F(ApplicationTest, PushedBubblesDriftOn) {
    auto bubble = View::create({0, 0, 100, 100});
    window.addSubview(bubble);
    DynamicAnimator animator;
    // Magnitude 1 on a 100 x 100 item: 100 points a second, straight down.
    animator.addPush(bubble, std::numbers::pi_v<float> / 2, 1);
    EXPECT_NEAR(animator.velocity(*bubble).y, 100, 1e-3);
    advance(1);
    EXPECT_NEAR(bubble->center().y, 150, 2);
    EXPECT_NEAR(bubble->center().x, 50, 1e-3);
    // A second push adds to the speed; a smaller item takes more speed from the same push.
    auto small = View::create({0, 0, 50, 50});
    window.addSubview(small);
    animator.addPush(small, 0, 1);
    EXPECT_NEAR(animator.velocity(*small).x, 400, 1e-3);
    advance(1);
    EXPECT_NEAR(bubble->center().y, 250, 4);
}

} // namespace
} // namespace ui
