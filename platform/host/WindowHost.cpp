#include "platform/host/WindowHost.h"

#include "platform/core/DispatchQueue.h"
#include "platform/core/FileLocations.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Image.h"
#include "platform/host/SdlLibrary.h"
#include "platform/host/SdlPasteboard.h"
#include "platform/host/WindowOpening.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace host {

namespace {

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

std::unique_ptr<WindowHost> WindowHost::start(const ui::Device& device, std::shared_ptr<core::Clock> clock) {
    return std::unique_ptr<WindowHost>(new WindowHost(device, std::move(clock)));
}

core::Result<std::unique_ptr<WindowHost>> WindowHost::open(const ui::Device& device,
                                                           std::shared_ptr<core::Clock> clock) {
    std::unique_ptr<WindowHost> host = start(device, std::move(clock));
    if (const core::Status opened = host->waitForWindow(); !opened)
        return opened.error();
    return host;
}

WindowHost::WindowHost(const ui::Device& device, std::shared_ptr<core::Clock> clock)
    : m_loop(std::move(clock))
    , m_sounds(core::FileLocations::shared().resources / "sounds") {
    ui::Display& display = *this;
    m_application = std::make_unique<ui::Application>(m_loop, device, display, m_sounds);
    const gfx::Bitmap& frame = m_application->frame();
    const core::Size points = device.screenSize();
    m_opening = std::make_unique<WindowOpening>(
        "Zembrix", int(points.width * device.scale), int(points.height * device.scale),
        std::span(reinterpret_cast<std::byte*>(const_cast<std::uint8_t*>(frame.bytes())),
                  std::size_t(frame.bytesPerRow()) * std::size_t(frame.height())));
    // Input is looked at once a frame, so the loop ticks frames while the window is open.
    m_inputHandler =
        m_loop.addFrameHandler(core::FramePhase::Input, [this](core::TimePoint) { pumpEvents(); });
}

WindowHost::~WindowHost() {
    m_opening.reset();
    if (m_window)
        ui::Pasteboard::setGeneral(nullptr);
    m_loop.removeFrameHandler(m_inputHandler);
    m_application.reset();
    if (m_window) {
        m_sdl->DestroyWindow(m_window);
        m_sdl->QuitSubSystem(SDL_INIT_VIDEO);
    }
}

core::Status WindowHost::waitForWindow() {
    if (m_openFailure)
        return *m_openFailure;
    if (!m_opening)
        return {};
    core::Result<OpenedWindow> opened = m_opening->wait();
    m_opening.reset();
    if (!opened) {
        m_openFailure = opened.error();
        return *m_openFailure;
    }
    m_sdl = opened->sdl;
    m_window = opened->window;
    m_sdl->StartTextInput();
    ui::Pasteboard::setGeneral(std::make_shared<SdlPasteboard>(*m_sdl));
    // The sound output opens after the frame that waited for the window is on the screen.
    m_loop.queue()->async([this] { m_sounds.start(*m_sdl); });
    return {};
}

core::Status WindowHost::run() {
    m_loop.runForever();
    m_application->terminate();
    if (m_openFailure)
        return *m_openFailure;
    return {};
}

core::Point WindowHost::pointFor(int x, int y) const {
    // Window coordinates to points, whatever size the window was given.
    int width = 1;
    int height = 1;
    m_sdl->GetWindowSize(m_window, &width, &height);
    const core::Size points = m_application->device().screenSize();
    return {x * points.width / float(std::max(width, 1)), y * points.height / float(std::max(height, 1))};
}

void WindowHost::pumpEvents() {
    // Before the window is open there is nothing to take, and waiting for it here would hold up the
    // first frame's drawing; that drawing waits only for its picture's memory to be ready.
    if (m_opening)
        m_opening->waitUntilWarm();
    if (!m_window)
        return;
    ui::Window& window = m_application->window();
    SDL_Event event;
    while (m_sdl->PollEvent(&event)) {
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
    if (!waitForWindow())
        return m_loop.quit();
    m_presented = true;
    SDL_Surface* surface = m_sdl->GetWindowSurface(m_window);
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
    SDL_Surface* surface = m_sdl->GetWindowSurface(m_window);
    if (!surface)
        return;
    if (surface->w == frame.width() && surface->h == frame.height()) {
        const SDL_Rect whole{0, 0, frame.width(), frame.height()};
        return copy(frame, *surface, {&whole, 1});
    }
    // A view of the frame's pixels, stretched into the window's (SDL's stretching is slow, but only a
    // window of another size than the frame needs it).
    SDL_Surface* pixels = m_sdl->CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(frame.bytes()),
                                                             frame.width(), frame.height(), 32,
                                                             frame.bytesPerRow(), SDL_PIXELFORMAT_ARGB8888);
    if (!pixels)
        return;
    m_sdl->SetSurfaceBlendMode(pixels, SDL_BLENDMODE_NONE);
    m_sdl->UpperBlitScaled(pixels, nullptr, surface, nullptr);
    m_sdl->FreeSurface(pixels);
    m_sdl->UpdateWindowSurface(m_window);
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
            m_sdl->ConvertPixels(rect.w, rect.h, SDL_PIXELFORMAT_ARGB8888, from, frame.bytesPerRow(),
                              surface.format->format, to, surface.pitch);
            continue;
        }
        for (int row = 0; row < rect.h; ++row, from += frame.bytesPerRow(), to += surface.pitch)
            std::memcpy(to, from, std::size_t(rect.w) * 4);
    }
    m_sdl->UpdateWindowSurfaceRects(m_window, rects.data(), int(rects.size()));
}

core::Result<std::shared_ptr<const gfx::Image>> WindowHost::readScreen() {
    if (const core::Status opened = waitForWindow(); !opened)
        return opened.error();
    SDL_Surface* surface = m_sdl->GetWindowSurface(m_window);
    if (!surface)
        return windowError("cannot read the window", m_sdl->GetError());
    std::unique_ptr<gfx::Bitmap> pixels = gfx::Bitmap::create(surface->w, surface->h);
    if (!pixels)
        return windowError("the window is too large to read", m_sdl->GetError());
    if (m_sdl->ConvertPixels(surface->w, surface->h, surface->format->format, surface->pixels, surface->pitch,
                          SDL_PIXELFORMAT_ARGB8888, pixels->mutableBytes(), pixels->bytesPerRow()) != 0)
        return windowError("cannot read the window", m_sdl->GetError());
    pixels->markChanged();
    const float scale = float(surface->w) / m_application->device().screenSize().width;
    return std::make_shared<const gfx::Image>(std::move(pixels), scale);
}

} // namespace host
