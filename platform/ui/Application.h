#pragma once

#include "platform/ui/AnimationEngine.h"
#include "platform/ui/Device.h"
#include "platform/ui/FrameRenderer.h"

#include <cstdint>
#include <memory>
#include <span>

namespace core {
class MainLoop;
}

namespace gfx {
class Bitmap;
}

namespace ui {

class SoundPlayer;
class Window;

// Where the frames of the application go: the screen of the window host, the memory of the headless one.
class Display {
public:
    virtual ~Display() = default;
    // A new picture of the window, at the device's scale. `redrawn` holds the areas, in pixels, where it
    // may differ from the picture before: the whole frame the first time, none when nothing changed.
    virtual void present(const gfx::Bitmap& frame, std::span<const core::Rect> redrawn) = 0;
};

// The running game: one window over the device's screen, the animation engine, and the frames that
// draw the window on the main loop, 60 a second while something moves or changed and none otherwise.
// A host makes one, on the main loop's thread, and keeps it until the loop ends; it is then shared().
class Application {
public:
    Application(core::MainLoop& loop, const Device& device, Display& display, SoundPlayer& sounds);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The application of the process; asserts that there is one.
    static Application& shared();
    // The same, or nullptr while none runs.
    static Application* current();

    const Device& device() const { return m_device; }
    Window& window() const { return *m_window; }
    AnimationEngine& animationEngine() { return m_engine; }
    SoundPlayer& soundPlayer() const { return m_sounds; }
    core::MainLoop& mainLoop() const { return m_loop; }

    // The lifecycle, told by the host: each posts its notification of platform/core/ApplicationEvents.h
    // with this application as sender. Entering the foreground is announced only after a background,
    // and termination once.
    void becomeActive();
    void enterBackground();
    void enterForeground();
    void terminate();

    // Lays the window out and, when something changed since the last frame, draws and shows a new one.
    void renderIfNeeded();
    // The last frame drawn.
    const gfx::Bitmap& frame() const { return *m_frame; }
    // While off, the frames of the main loop lay the window out and move its animations on but draw
    // nothing (nobody looks); the next frame, or renderIfNeeded, draws what changed meanwhile.
    void setDrawsFrames(bool draws) { m_drawsFrames = draws; }

private:
    void requestFrames();
    void runFrame();

    core::MainLoop& m_loop;
    Device m_device;
    Display& m_display;
    SoundPlayer& m_sounds;
    AnimationEngine m_engine;
    std::shared_ptr<Window> m_window;
    std::unique_ptr<gfx::Bitmap> m_frame;
    FrameRenderer m_renderer;
    bool m_drawsFrames = true;
    std::uint64_t m_frameHandler = 0;
    bool m_inBackground = false;
    bool m_terminated = false;
};

} // namespace ui
