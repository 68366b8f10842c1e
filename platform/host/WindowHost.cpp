#include "platform/host/WindowHost.h"

#include "platform/core/FileLocations.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Image.h"
#include "platform/host/SdlPasteboard.h"
#include "platform/ui/Window.h"

#include <cmath>
#include <optional>
#include <vector>

#include <SDL.h>

namespace host {

namespace {

constexpr std::string_view kHostErrorDomain = "host.window";

core::Error sdlError(std::string_view what) {
    return core::Error{std::string(kHostErrorDomain), 1, std::string(what) + ": " + SDL_GetError(), {}};
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
    // Desktop compositors would otherwise be asked to turn off while the game runs.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // One pointer: touches of a touch screen reach the game as the mouse events SDL makes of them.
    SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return sdlError("cannot start the video system");
    const core::Size points = device.screenSize();
    SDL_Window* window = SDL_CreateWindow("Zembrix", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          int(points.width * device.scale), int(points.height * device.scale),
                                          SDL_WINDOW_ALLOW_HIGHDPI);
    if (!window) {
        core::Error error = sdlError("cannot open the window");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return error;
    }
    SDL_StartTextInput();
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    if (!renderer) {
        core::Error error = sdlError("cannot draw into the window");
        SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return error;
    }
    return std::unique_ptr<WindowHost>(new WindowHost(device, std::move(clock), window, renderer));
}

WindowHost::WindowHost(const ui::Device& device, std::shared_ptr<core::Clock> clock, SDL_Window* window,
                       SDL_Renderer* renderer)
    : m_window(window)
    , m_renderer(renderer)
    , m_loop(std::move(clock))
    , m_sounds(core::FileLocations::shared().resources / "sounds") {
    ui::Display& display = *this;
    m_application = std::make_unique<ui::Application>(m_loop, device, display, m_sounds);
    ui::Pasteboard::setGeneral(std::make_shared<SdlPasteboard>());
    const gfx::Bitmap& frame = m_application->frame();
    m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                  frame.width(), frame.height());
    // Input is looked at once a frame, so the loop ticks frames while the window is open.
    m_inputHandler =
        m_loop.addFrameHandler(core::FramePhase::Input, [this](core::TimePoint) { pumpEvents(); });
}

WindowHost::~WindowHost() {
    ui::Pasteboard::setGeneral(nullptr);
    m_loop.removeFrameHandler(m_inputHandler);
    m_application.reset();
    if (m_texture)
        SDL_DestroyTexture(m_texture);
    SDL_DestroyRenderer(m_renderer);
    SDL_DestroyWindow(m_window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void WindowHost::run() {
    m_loop.runForever();
    m_application->terminate();
}

core::Point WindowHost::pointFor(int x, int y) const {
    // Window coordinates to points, whatever size the window was given.
    int width = 1;
    int height = 1;
    SDL_GetWindowSize(m_window, &width, &height);
    const core::Size points = m_application->device().screenSize();
    return {x * points.width / float(std::max(width, 1)), y * points.height / float(std::max(height, 1))};
}

void WindowHost::pumpEvents() {
    ui::Window& window = m_application->window();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
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
        // The desktop lost what the window showed: show the last frame again.
        present(m_application->frame());
        break;
    default:
        break;
    }
}

void WindowHost::present(const gfx::Bitmap& frame) {
    if (!m_texture)
        return;
    SDL_UpdateTexture(m_texture, nullptr, frame.bytes(), frame.bytesPerRow());
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
}

core::Result<std::shared_ptr<const gfx::Image>> WindowHost::readScreen() {
    int width = 0;
    int height = 0;
    if (SDL_GetRendererOutputSize(m_renderer, &width, &height) != 0)
        return sdlError("cannot measure the window");
    std::unique_ptr<gfx::Bitmap> pixels = gfx::Bitmap::create(width, height);
    if (!pixels)
        return sdlError("the window is too large to read");
    if (SDL_RenderReadPixels(m_renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels->mutableBytes(),
                             pixels->bytesPerRow()) != 0)
        return sdlError("cannot read the window");
    pixels->markChanged();
    const float scale = float(width) / m_application->device().screenSize().width;
    return std::make_shared<const gfx::Image>(std::move(pixels), scale);
}

} // namespace host
