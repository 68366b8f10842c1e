#pragma once

// Helpers for the tests of the view layer: a manual clock, its main loop and an animation engine.

#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/ui/AnimationEngine.h"

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

} // namespace ui::testing
