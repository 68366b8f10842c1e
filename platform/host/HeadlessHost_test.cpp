#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/PixelTesting.h"
#include "platform/gfx/Png.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewAnimation.h"
#include "platform/ui/Window.h"

#include <vector>

#include <gtest/gtest.h>

namespace host {
namespace {

using namespace gfx::testing_pixels;
using ui::TouchPhase;

// Writes down each touch it receives: phase, where (in its own coordinates) and when.
class TouchLog : public ui::View {
public:
    struct Entry {
        TouchPhase phase;
        core::Point location;
        double time;
    };

    static std::shared_ptr<TouchLog> make(const core::Rect& frame) {
        return std::shared_ptr<TouchLog>(new TouchLog(frame));
    }

    void touchesBegan(const ui::TouchSet& touches, const ui::Event&) override { log(touches); }
    void touchesMoved(const ui::TouchSet& touches, const ui::Event&) override { log(touches); }
    void touchesEnded(const ui::TouchSet& touches, const ui::Event&) override { log(touches); }

    std::vector<Entry> entries;

private:
    explicit TouchLog(const core::Rect& frame)
        : View(frame) {}

    void log(const ui::TouchSet& touches) {
        const ui::Touch& touch = *touches.front();
        entries.push_back({touch.phase(), touch.locationInView(this), touch.timestamp()});
    }
};

TEST(HeadlessHost, AScriptedDragReachesItsViewAtItsTimes) {
    HeadlessHost host({ui::Idiom::Tablet, 1});
    auto panel = ui::View::create({100, 100, 400, 300});
    auto target = TouchLog::make({50, 50, 100, 100});
    panel->addSubview(target);
    host.window().addSubview(panel);

    const double start = host.now();
    const HeadlessHost::TouchStep script[] = {
        {0.0, TouchPhase::Began, {160, 160}},
        {0.1, TouchPhase::Moved, {300, 200}},
        {0.25, TouchPhase::Ended, {320, 210}},
    };
    host.play(script);

    ASSERT_EQ(target->entries.size(), 3u);
    EXPECT_EQ(target->entries[0].phase, TouchPhase::Began);
    EXPECT_EQ(target->entries[0].location, (core::Point{10, 10}));
    EXPECT_EQ(target->entries[1].location, (core::Point{150, 50}));
    EXPECT_NEAR(target->entries[1].time - start, 0.1, 1e-6);
    EXPECT_EQ(target->entries[2].phase, TouchPhase::Ended);
    EXPECT_EQ(target->entries[2].location, (core::Point{170, 60}));
    EXPECT_NEAR(host.now() - start, 0.25, 1e-6);
}

TEST(HeadlessHost, ScreenshotsShowTheWindowAtTheDeviceScale) {
    HeadlessHost host({ui::Idiom::Phone, 2});
    auto box = ui::View::create({0, 0, 240, 320});
    box->setBackgroundColor(core::Color::rgba(0, 0, 1));
    host.window().addSubview(box);
    const auto image = host.screenshot();
    EXPECT_EQ(image->pixelWidth(), 960);
    EXPECT_EQ(image->pixelHeight(), 640);
    EXPECT_TRUE(pixelNear(image->bitmap(), 100, 100, kBlue));
    EXPECT_TRUE(pixelNear(image->bitmap(), 700, 100, kBlack));

    const core::TemporaryFolder folder;
    const auto file = folder.path() / "shot.png";
    ASSERT_TRUE(host.writeScreenshot(file));
    const auto bytes = core::readFile(file);
    ASSERT_TRUE(bytes);
    const auto decoded =
        gfx::decodePng({reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()});
    ASSERT_TRUE(decoded);
    EXPECT_EQ((*decoded)->pixelWidth(), 960);
}

TEST(HeadlessHost, ScreenshotsFollowAnimationsAsTimeMoves) {
    HeadlessHost host({ui::Idiom::Phone, 1});
    auto box = ui::View::create({0, 0, 40, 40});
    box->setBackgroundColor(core::Color::rgba(1, 0, 0));
    host.window().addSubview(box);
    ui::animate({.duration = 1, .curve = ui::AnimationCurve::Linear}, [&] { box->setCenter({420, 20}); });
    host.advance(0.5);
    EXPECT_TRUE(pixelNear(host.screenshot()->bitmap(), 220, 20, kRed));
    host.advance(0.6);
    EXPECT_TRUE(pixelNear(host.screenshot()->bitmap(), 420, 20, kRed));
    EXPECT_TRUE(pixelNear(host.screenshot()->bitmap(), 220, 20, kBlack));
}

TEST(HeadlessHost, SoundsAreWrittenDownByName) {
    HeadlessHost host({ui::Idiom::Tablet, 1});
    ui::SoundPlayer& sounds = host.application().soundPlayer();
    const auto alert = sounds.load("alert");
    EXPECT_NE(alert, 0u);
    EXPECT_EQ(sounds.load("alert"), alert);
    sounds.play(alert);
    sounds.play(0);
    sounds.play(alert);
    EXPECT_EQ(host.playedSounds(), (std::vector<std::string>{"alert", "alert"}));
}

TEST(HeadlessHost, TypingReachesTheFieldBeingEdited) {
    HeadlessHost host({ui::Idiom::Phone, 1});
    auto field = ui::TextField::create({10, 10, 200, 30});
    host.window().addSubview(field);
    host.typeText("lost"); // nothing is being edited
    host.touchDown({50, 25});
    host.touchUp({50, 25});
    host.typeText("2x+1");
    host.pressKey(ui::EditingKey::Backspace);
    EXPECT_EQ(field->text(), "2x+");
}

TEST(HeadlessHost, TwoFingersAtOnce) {
    HeadlessHost host({ui::Idiom::Tablet, 1});
    auto target = TouchLog::make({0, 0, 500, 500});
    target->setMultipleTouchEnabled(true);
    host.window().addSubview(target);
    host.touchDown({10, 10}, 0);
    host.touchDown({100, 10}, 1);
    host.touchUp({10, 10}, 0);
    host.touchUp({100, 10}, 1);
    EXPECT_EQ(target->entries.size(), 4u);
}

} // namespace
} // namespace host
