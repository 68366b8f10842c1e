#pragma once

#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/core/Result.h"
#include "platform/host/RecordingSoundPlayer.h"
#include "platform/ui/Application.h"
#include "platform/ui/KeyInput.h"
#include "platform/ui/Touch.h"

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gfx {
class Image;
}

namespace ui {
class Window;
}

namespace host {

// Runs the application without a screen: time is a manual clock that moves only when told, fingers
// are scripted, and the window's picture is drawn into memory and written as PNG on request. The
// backbone of the tests of every screen, and of `zembrix --headless`.
//
// Main thread only; one host (one application) at a time.
class HeadlessHost : private ui::Display {
public:
    explicit HeadlessHost(const ui::Device& device);
    ~HeadlessHost() override;
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;

    ui::Application& application() { return m_application; }
    ui::Window& window() { return m_application.window(); }
    core::MainLoop& loop() { return m_loop; }

    // Time: the current media time, and moving it on (running every timer, animation frame and piece
    // of queued work that falls due on the way).
    double now() const { return m_clock->mediaTime(); }
    void advance(double seconds);
    // The same, drawing no frame on the way: for letting the screen come to rest before a screenshot,
    // which then draws it.
    void settle(double seconds);
    // Runs the work queued for now.
    void runUntilIdle() { m_loop.runUntilIdle(); }

    // Fingers, in window points, at the current time; the work they cause runs before these return.
    void touchDown(core::Point point, int finger = 0);
    void touchMove(core::Point point, int finger = 0);
    void touchUp(core::Point point, int finger = 0);
    void cancelTouches();

    // The keyboard: typing and editing keys for the text field or view being edited (nothing without
    // one); the work they cause runs before these return.
    void typeText(std::string_view text);
    void pressKey(ui::EditingKey key);

    // A finger script: each step happens `time` seconds after the script starts (steps in time order);
    // the clock moves on to each step before it.
    struct TouchStep {
        double time;
        ui::TouchPhase phase;
        core::Point point;
        int finger = 0;
    };
    void play(std::span<const TouchStep> script);

    // The window's picture now (laid out and drawn first when something changed).
    std::shared_ptr<const gfx::Image> screenshot();
    core::Status writeScreenshot(const std::filesystem::path& file);

    // The sounds played so far, by name.
    const std::vector<std::string>& playedSounds() const { return m_sounds.played(); }

private:
    void present(const gfx::Bitmap&, std::span<const core::Rect>) override {}
    void send(ui::TouchPhase phase, core::Point point, int finger);

    std::shared_ptr<core::ManualClock> m_clock;
    core::MainLoop m_loop;
    RecordingSoundPlayer m_sounds;
    ui::Application m_application;
};

} // namespace host
