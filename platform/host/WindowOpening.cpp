#include "platform/host/WindowOpening.h"

#include "platform/host/SdlLibrary.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include <sys/mman.h>
#include <unistd.h>

namespace host {

namespace {

// Makes the pages of `memory` ready to be written, leaving what they hold as it is: the first write
// into fresh memory otherwise stops at every page, once to map it and, on a virtual machine, once more
// for the host to map it. The pages are mapped in one request, then each is read once.
void warm(std::span<std::byte> memory) {
    const std::uintptr_t page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const std::uintptr_t begin = (std::uintptr_t(memory.data()) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (std::uintptr_t(memory.data()) + memory.size()) & ~(page - 1);
    if (end <= begin)
        return;
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
    for (std::uintptr_t address = begin; address < end; address += page)
        static_cast<void>(*reinterpret_cast<const volatile std::byte*>(address));
}

constexpr const char* kSessionBusVariable = "DBUS_SESSION_BUS_ADDRESS";

// Whether D-Bus finds no session bus of the desktop: none named, nor the user's bus in its runtime
// folder. It would then start one for SDL by forking the process and running dbus-launch.
bool hasNoSessionBus() {
    if (std::getenv(kSessionBusVariable))
        return false;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code error;
    return !runtime || !std::filesystem::exists(std::filesystem::path(runtime) / "bus", error);
}

} // namespace

core::Error windowError(std::string_view what, const std::string& why) {
    return core::Error{"host.window", 1, std::string(what) + ": " + why, {}};
}

WindowOpening::WindowOpening(std::string title, int width, int height, std::span<std::byte> memory)
    : m_title(std::move(title))
    , m_width(width)
    , m_height(height)
    , m_warm(memory)
    , m_namedNoBus(hasNoSessionBus()) {
    // SDL asks for the session bus as its video starts, for input methods on it; a bus started for the
    // game has none. Starting one forks the process, and after a fork every page of the game, starting
    // meanwhile, faults again on its next write. The input method of X (compose keys) needs no bus.
    if (m_namedNoBus)
        setenv(kSessionBusVariable, "disabled:", 1);
    m_thread = std::thread([this] { open(); });
}

WindowOpening::~WindowOpening() {
    if (m_thread.joinable())
        m_thread.join();
    restoreEnvironment();
    if (!m_taken && m_opened.window) {
        m_opened.sdl->DestroyWindow(m_opened.window);
        m_opened.sdl->QuitSubSystem(SDL_INIT_VIDEO);
    }
}

void WindowOpening::open() {
    warm(m_warm);
    m_warmed.count_down();
    const SdlLibrary* loaded = SdlLibrary::get();
    if (!loaded) {
        m_failure = windowError("cannot start the video system", SdlLibrary::loadFailure());
        return;
    }
    openWith(*loaded);
    // SDL keeps data for each thread that calls it (its error text among them) and lets it go by itself
    // only on threads it made; this one ends here.
    loaded->TLSCleanup();
}

void WindowOpening::openWith(const SdlLibrary& sdl) {
    // Desktop compositors would otherwise be asked to turn off while the game runs.
    sdl.SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // One pointer: touches of a touch screen reach the game as the mouse events SDL makes of them.
    sdl.SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    // The frames are drawn in memory and copied to the window as they are: the window's own pixels
    // (shared memory with the X server) take them without a GL context, which would cost the launch
    // a driver and its shader compiler before the first frame shows.
    sdl.SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (sdl.InitSubSystem(SDL_INIT_VIDEO) != 0) {
        m_failure = windowError("cannot start the video system", sdl.GetError());
        return;
    }
    SDL_Window* window = sdl.CreateWindow(m_title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          m_width, m_height, SDL_WINDOW_ALLOW_HIGHDPI);
    SDL_Surface* surface = window ? sdl.GetWindowSurface(window) : nullptr;
    if (!surface) {
        m_failure = windowError(window ? "cannot draw into the window" : "cannot open the window", sdl.GetError());
        if (window)
            sdl.DestroyWindow(window);
        sdl.QuitSubSystem(SDL_INIT_VIDEO);
        return;
    }
    warm({static_cast<std::byte*>(surface->pixels), std::size_t(surface->pitch) * std::size_t(surface->h)});
    // The display server reads the window's pixels from the memory it shares with the game, and its
    // first read of each page stops to map it (10-25 ms for a whole window). Shown once now, all black as
    // the window starts anyway, the pages are mapped while the game still draws its first frame, which
    // then shows without that wait.
    sdl.UpdateWindowSurface(window);
    m_opened = {&sdl, window};
}

void WindowOpening::restoreEnvironment() {
    if (m_namedNoBus)
        unsetenv(kSessionBusVariable);
    m_namedNoBus = false;
}

core::Result<OpenedWindow> WindowOpening::wait() {
    if (m_thread.joinable())
        m_thread.join();
    restoreEnvironment();
    if (m_failure)
        return *m_failure;
    m_taken = true;
    return m_opened;
}

} // namespace host
