#include "platform/host/WindowHost.h"

#include "platform/core/FileLocations.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Image.h"
#include "platform/host/SdlLibrary.h"
#include "platform/host/SdlPasteboard.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace host {

namespace {

constexpr std::string_view kHostErrorDomain = "host.window";

core::Error sdlError(std::string_view what, const std::string& why) {
    return core::Error{std::string(kHostErrorDomain), 1, std::string(what) + ": " + why, {}};
}

double secondsNow() {
    return core::currentClock()->mediaTime();
}

std::optional<ui::EditingKey> editingKey(SDL_Keycode key) {
    switch (key) {
    case SDLK_BACKSPACE:
        return ui::EditingKey::Backspace;
    case SDLK_DELETE:
        return ui::EditingKey::Delete;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return ui::EditingKey::Return;
    case SDLK_LEFT:
        return ui::EditingKey::Left;
    case SDLK_RIGHT:
        return ui::EditingKey::Right;
    case SDLK_HOME:
        return ui::EditingKey::Home;
    case SDLK_END:
        return ui::EditingKey::End;
    default:
        return std::nullopt;
    }
}

} // namespace

core::Result<std::unique_ptr<WindowHost>> WindowHost::open(const ui::Device& device,
                                                           std::shared_ptr<core::Clock> clock) {
    const SdlLibrary* loaded = SdlLibrary::get();
    if (!loaded)
        return sdlError("cannot start the video system", SdlLibrary::loadFailure());
    const SdlLibrary& sdl = *loaded;
    // Desktop compositors would otherwise be asked to turn off while the game runs.
    sdl.SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // One pointer: touches of a touch screen reach the game as the mouse events SDL makes of them.
    sdl.SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    // The frames are drawn in memory and copied to the window as they are: the window's own pixels
    // (shared memory with the X server) take them without a GL context, which would cost the launch
    // a driver and its shader compiler before the first frame shows.
    sdl.SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (sdl.InitSubSystem(SDL_INIT_VIDEO) != 0)
        return sdlError("cannot start the video system", sdl.GetError());
    const core::Size points = device.screenSize();
    SDL_Window* window = sdl.CreateWindow("Zembrix", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          int(points.width * device.scale), int(points.height * device.scale),
                                          SDL_WINDOW_ALLOW_HIGHDPI);
    if (!window || !sdl.GetWindowSurface(window)) {
        core::Error error =
            sdlError(window ? "cannot draw into the window" : "cannot open the window", sdl.GetError());
        if (window)
            sdl.DestroyWindow(window);
        sdl.QuitSubSystem(SDL_INIT_VIDEO);
        return error;
    }
    sdl.StartTextInput();
    return std::unique_ptr<WindowHost>(new WindowHost(sdl, device, std::move(clock), window));
}

WindowHost::WindowHost(const SdlLibrary& sdl, const ui::Device& device, std::shared_ptr<core::Clock> clock,
                       SDL_Window* window)
    : m_sdl(sdl)
    , m_window(window)
    , m_loop(std::move(clock))
    , m_sounds(sdl, core::FileLocations::shared().resources / "sounds") {
    ui::Display& display = *this;
    m_application = std::make_unique<ui::Application>(m_loop, device, display, m_sounds);
    ui::Pasteboard::setGeneral(std::make_shared<SdlPasteboard>(sdl));
    // Input is looked at once a frame, so the loop ticks frames while the window is open.
    m_inputHandler =
        m_loop.addFrameHandler(core::FramePhase::Input, [this](core::TimePoint) { pumpEvents(); });
}

WindowHost::~WindowHost() {
    ui::Pasteboard::setGeneral(nullptr);
    m_loop.removeFrameHandler(m_inputHandler);
    m_application.reset();
    m_sdl.DestroyWindow(m_window);
    m_sdl.QuitSubSystem(SDL_INIT_VIDEO);
}

void WindowHost::run() {
    m_loop.runForever();
    m_application->terminate();
}

core::Point WindowHost::pointFor(int x, int y) const {
    // Window coordinates to points, whatever size the window was given.
    int width = 1;
    int height = 1;
    m_sdl.GetWindowSize(m_window, &width, &height);
    const core::Size points = m_application->device().screenSize();
    return {x * points.width / float(std::max(width, 1)), y * points.height / float(std::max(height, 1))};
}

void WindowHost::pumpEvents() {
    ui::Window& window = m_application->window();
    SDL_Event event;
    while (m_sdl.PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT:
            m_loop.quit();
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT && !m_pressed) {
                m_pressed = true;
                const ui::Window::TouchInput input{0, ui::TouchPhase::Began,
                                                   pointFor(event.button.x, event.button.y)};
                window.dispatchTouches({&input, 1}, secondsNow());
            }
            break;
        case SDL_MOUSEMOTION:
            if (m_pressed) {
                const ui::Window::TouchInput input{0, ui::TouchPhase::Moved,
                                                   pointFor(event.motion.x, event.motion.y)};
                window.dispatchTouches({&input, 1}, secondsNow());
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT && m_pressed) {
                m_pressed = false;
                const ui::Window::TouchInput input{0, ui::TouchPhase::Ended,
                                                   pointFor(event.button.x, event.button.y)};
                window.dispatchTouches({&input, 1}, secondsNow());
            }
            break;
        case SDL_TEXTINPUT:
            // Typing goes to the text field or view being edited, if any.
            window.insertText(event.text.text);
            break;
        case SDL_KEYDOWN:
            if (const std::optional<ui::EditingKey> key = editingKey(event.key.keysym.sym))
                window.pressKey(*key);
            break;
        case SDL_WINDOWEVENT:
            handleWindowEvent(event.window.event);
            break;
        default:
            break;
        }
    }
}

void WindowHost::handleWindowEvent(std::uint8_t what) {
    switch (what) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        m_application->becomeActive();
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (m_pressed) {
            m_pressed = false;
            m_application->window().cancelTouches(secondsNow());
        }
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN:
        m_application->enterBackground();
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
        m_application->enterForeground();
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        // The desktop lost what the window showed: show the last frame again (none is shown before the
        // application has drawn its first, which shows whole).
        if (m_presented)
            showWhole(m_application->frame());
        break;
    default:
        break;
    }
}

void WindowHost::present(const gfx::Bitmap& frame, std::span<const core::Rect> redrawn) {
    if (redrawn.empty())
        return;
    m_presented = true;
    SDL_Surface* surface = m_sdl.GetWindowSurface(m_window);
    if (!surface)
        return;
    if (surface->w != frame.width() || surface->h != frame.height())
        return showWhole(frame);
    std::vector<SDL_Rect> copied;
    copied.reserve(redrawn.size());
    for (const core::Rect& area : redrawn) {
        // Areas may fall between pixels: every pixel they touch is copied.
        const int left = std::max(0, int(std::floor(area.minX())));
        const int top = std::max(0, int(std::floor(area.minY())));
        const int right = std::min(frame.width(), int(std::ceil(area.maxX())));
        const int bottom = std::min(frame.height(), int(std::ceil(area.maxY())));
        if (right > left && bottom > top)
            copied.push_back({left, top, right - left, bottom - top});
    }
    copy(frame, *surface, copied);
}

void WindowHost::showWhole(const gfx::Bitmap& frame) {
    SDL_Surface* surface = m_sdl.GetWindowSurface(m_window);
    if (!surface)
        return;
    if (surface->w == frame.width() && surface->h == frame.height()) {
        const SDL_Rect whole{0, 0, frame.width(), frame.height()};
        return copy(frame, *surface, {&whole, 1});
    }
    // A view of the frame's pixels, stretched into the window's (SDL's stretching is slow, but only a
    // window of another size than the frame needs it).
    SDL_Surface* pixels = m_sdl.CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(frame.bytes()),
                                                             frame.width(), frame.height(), 32,
                                                             frame.bytesPerRow(), SDL_PIXELFORMAT_ARGB8888);
    if (!pixels)
        return;
    m_sdl.SetSurfaceBlendMode(pixels, SDL_BLENDMODE_NONE);
    m_sdl.UpperBlitScaled(pixels, nullptr, surface, nullptr);
    m_sdl.FreeSurface(pixels);
    m_sdl.UpdateWindowSurface(m_window);
}

void WindowHost::copy(const gfx::Bitmap& frame, SDL_Surface& surface, std::span<const SDL_Rect> rects) {
    // The frame's pixels are 32-bit ARGB; a window of 32-bit xRGB (what X servers of 24 bits give) has
    // the same layout with the alpha ignored, so rows are copied as they are. Other layouts are converted.
    const bool sameLayout =
        surface.format->format == SDL_PIXELFORMAT_ARGB8888 || surface.format->format == SDL_PIXELFORMAT_RGB888;
    for (const SDL_Rect& rect : rects) {
        const std::uint8_t* from = frame.bytes() + std::size_t(rect.y) * frame.bytesPerRow() + std::size_t(rect.x) * 4;
        auto* to = static_cast<std::uint8_t*>(surface.pixels) + std::size_t(rect.y) * surface.pitch +
                   std::size_t(rect.x) * surface.format->BytesPerPixel;
        if (!sameLayout) {
            m_sdl.ConvertPixels(rect.w, rect.h, SDL_PIXELFORMAT_ARGB8888, from, frame.bytesPerRow(),
                              surface.format->format, to, surface.pitch);
            continue;
        }
        for (int row = 0; row < rect.h; ++row, from += frame.bytesPerRow(), to += surface.pitch)
            std::memcpy(to, from, std::size_t(rect.w) * 4);
    }
    m_sdl.UpdateWindowSurfaceRects(m_window, rects.data(), int(rects.size()));
}

core::Result<std::shared_ptr<const gfx::Image>> WindowHost::readScreen() {
    SDL_Surface* surface = m_sdl.GetWindowSurface(m_window);
    if (!surface)
        return sdlError("cannot read the window", m_sdl.GetError());
    std::unique_ptr<gfx::Bitmap> pixels = gfx::Bitmap::create(surface->w, surface->h);
    if (!pixels)
        return sdlError("the window is too large to read", m_sdl.GetError());
    if (m_sdl.ConvertPixels(surface->w, surface->h, surface->format->format, surface->pixels, surface->pitch,
                          SDL_PIXELFORMAT_ARGB8888, pixels->mutableBytes(), pixels->bytesPerRow()) != 0)
        return sdlError("cannot read the window", m_sdl.GetError());
    pixels->markChanged();
    const float scale = float(surface->w) / m_application->device().screenSize().width;
    return std::make_shared<const gfx::Image>(std::move(pixels), scale);
}

} // namespace host
