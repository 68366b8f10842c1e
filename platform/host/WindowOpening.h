#pragma once

#include "platform/core/Result.h"

#include <cstddef>
#include <latch>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>

struct SDL_Window;

namespace host {

struct SdlLibrary;

// An error of the window: what could not be done, and SDL's reason.
core::Error windowError(std::string_view what, const std::string& why);

// A window of the desktop, opened with SDL, its surface (the window's own pixels) made.
struct OpenedWindow {
    const SdlLibrary* sdl = nullptr;
    SDL_Window* window = nullptr;
};

// Opens a window on a thread of its own: loads SDL, starts its video system, opens the window, makes its
// pixels and shows them once, black, so that the display server has them at hand for the first frame.
// That takes as long as the game's start and first frame (SDL's libraries, the display connection, the
// input method's tables, fresh shared memory with the X server), so the two run side by side. Nothing
// else may use SDL until wait() has answered.
//
// `memory` is what the first frame will write (its picture): its pages are made present first, off the
// drawing thread, without changing what it holds; nothing may use it until waitUntilWarm() returns.
class WindowOpening {
public:
    WindowOpening(std::string title, int width, int height, std::span<std::byte> memory);
    // Waits for the thread; a window opened and never taken is closed again.
    ~WindowOpening();
    WindowOpening(const WindowOpening&) = delete;
    WindowOpening& operator=(const WindowOpening&) = delete;

    // Waits until the window is open, and hands it over: the caller closes it (DestroyWindow, then
    // QuitSubSystem(SDL_INIT_VIDEO)). Or answers why SDL could not open it. Once.
    core::Result<OpenedWindow> wait();
    // Waits until the memory to warm is ready to be used (it is first: this is seldom a wait).
    void waitUntilWarm() { m_warmed.wait(); }

private:
    void open();
    void openWith(const SdlLibrary& sdl);
    // Puts back the environment as it was before the thread.
    void restoreEnvironment();

    std::string m_title;
    int m_width;
    int m_height;
    std::span<std::byte> m_warm;
    std::latch m_warmed{1};
    OpenedWindow m_opened;
    std::optional<core::Error> m_failure;
    bool m_taken = false;
    bool m_namedNoBus = false; // whether the session bus's address was set here for the thread
    std::thread m_thread;
};

} // namespace host
