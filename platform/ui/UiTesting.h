#pragma once

// Helpers for the tests of the view layer: a manual clock, its main loop and an animation engine.

#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/ui/AnimationEngine.h"
#include "platform/ui/Application.h"
#include "platform/ui/SoundPlayer.h"

#include <memory>

#include <gtest/gtest.h>

namespace ui::testing {

// Time moves only when a test says so; frames come every 1/60 s of it.
class AnimationFixture : public ::testing::Test {
protected:
    void advance(double seconds) { loop.advanceBy(core::fromSeconds(seconds)); }
    // Runs what is queued on the main loop now, without moving time.
    void settle() { loop.runUntilIdle(); }
    double now() const { return clock->mediaTime(); }

    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    core::MainLoop loop{clock};
    AnimationEngine engine{loop};
};

// A running application over a phone's screen, on a manual clock: for what shows itself in the
// application's window (alerts, presented screens).
class ApplicationFixture : public ::testing::Test {
protected:
    struct NoDisplay : Display {
        void present(const gfx::Bitmap&, std::span<const core::Rect>) override {}
    };
    struct NoSounds : SoundPlayer {
        SoundId load(std::string_view) override { return 0; }
        void play(SoundId) override {}
    };

    void advance(double seconds) { loop.advanceBy(core::fromSeconds(seconds)); }
    void settle() { loop.runUntilIdle(); }

    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    core::MainLoop loop{clock};
    NoDisplay display;
    NoSounds sounds;
    Application application{loop, Device{Idiom::Phone, 1}, display, sounds};
    Window& window = application.window();
};

} // namespace ui::testing
