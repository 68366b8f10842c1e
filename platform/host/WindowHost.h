#pragma once

#include "platform/core/MainLoop.h"
#include "platform/core/Result.h"
#include "platform/host/SdlSoundPlayer.h"
#include "platform/ui/Application.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>

struct SDL_Rect;
struct SDL_Surface;
struct SDL_Window;

namespace gfx {
class Image;
}

namespace host {

struct SdlLibrary;
class WindowOpening;

// Shows the application in a window of the desktop with SDL: titled "Zembrix", the size of the
// device's screen times its scale, the mouse acting as one finger, the keyboard typing into the text
// field or view being edited, closing the window quitting. The window's focus, minimising and
// restoring, and the end of the run reach the application as its lifecycle (ui::Application).
// The window shows each frame the application draws, copying into the window's own pixels only the
// areas the frame drew again; where the window's pixels are not the frame's size (a high-density
// display, a window resized by the desktop), the whole frame is stretched to them.
//
// The window opens on a thread of its own while the application starts: the application exists at
// once, and its first frame waits for the window only to be shown. Events, the clipboard and the
// sounds are the window's from then on.
//
// Main thread only; one at a time.
class WindowHost : private ui::Display {
public:
    // Starts opening the window and answers at once. The main loop runs on `clock` (tests hand in a
    // manual one and step the frames, in which the window's events are taken).
    static std::unique_ptr<WindowHost> start(const ui::Device& device, std::shared_ptr<core::Clock> clock);
    // The same, waiting for the window: or why SDL could not open it.
    static core::Result<std::unique_ptr<WindowHost>> open(const ui::Device& device,
                                                          std::shared_ptr<core::Clock> clock);
    ~WindowHost() override;
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;

    ui::Application& application() { return *m_application; }
    core::MainLoop& loop() { return m_loop; }

    // Runs until the window is closed or quit() is called; the application then hears that it
    // terminates. When the window could not open, the run ends at the first frame with the reason.
    core::Status run();
    void quit() { m_loop.quit(); }

    // What the window shows now, read back from its pixels.
    core::Result<std::shared_ptr<const gfx::Image>> readScreen();

private:
    WindowHost(const ui::Device& device, std::shared_ptr<core::Clock> clock);

    // Waits for the window and makes events, the clipboard and the sounds its own; or answers why it
    // could not open.
    core::Status waitForWindow();
    void present(const gfx::Bitmap& frame, std::span<const core::Rect> redrawn) override;
    // Shows all of `frame`, stretched to the window's pixels when their sizes differ.
    void showWhole(const gfx::Bitmap& frame);
    // Copies the areas of `frame` into the window's pixels of the same size, and shows them.
    void copy(const gfx::Bitmap& frame, SDL_Surface& surface, std::span<const SDL_Rect> rects);
    void pumpEvents();
    // One of SDL's window events (SDL_WindowEventID).
    void handleWindowEvent(std::uint8_t what);
    core::Point pointFor(int x, int y) const;

    core::MainLoop m_loop;
    SdlSoundPlayer m_sounds;
    std::unique_ptr<ui::Application> m_application;
    std::unique_ptr<WindowOpening> m_opening; // until the window is open, or failed to
    std::optional<core::Error> m_openFailure;
    const SdlLibrary* m_sdl = nullptr; // with the window, once open
    SDL_Window* m_window = nullptr;
    std::uint64_t m_inputHandler = 0;
    bool m_pressed = false;
    bool m_presented = false; // whether the application has shown a frame yet
};

} // namespace host
