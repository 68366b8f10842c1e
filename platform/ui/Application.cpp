#include "platform/ui/Application.h"

#include "platform/core/ApplicationEvents.h"
#include "platform/core/MainLoop.h"
#include "platform/core/NotificationCenter.h"
#include "platform/gfx/Bitmap.h"
#include "platform/ui/Window.h"

#include <cassert>
#include <cmath>

namespace ui {

namespace {

Application* g_shared = nullptr;

} // namespace

Application::Application(core::MainLoop& loop, const Device& device, Display& display, SoundPlayer& sounds)
    : m_loop(loop)
    , m_device(device)
    , m_display(display)
    , m_sounds(sounds)
    , m_engine(loop) {
    assert(!g_shared && "one application at a time");
    g_shared = this;
    Device::setCurrent(device);
    const core::Size size = device.screenSize();
    m_window = Window::create({0, 0, size.width, size.height});
    m_window->setBackgroundColor(core::Color::black());
    m_frame = gfx::Bitmap::create(int(std::ceil(size.width * device.scale)),
                                  int(std::ceil(size.height * device.scale)));
    m_window->setChangeHandler([this] { requestFrames(); });
    requestFrames();
}

Application::~Application() {
    if (m_frameHandler)
        m_loop.removeFrameHandler(m_frameHandler);
    m_window->setChangeHandler({});
    g_shared = nullptr;
}

Application* Application::current() {
    return g_shared;
}

Application& Application::shared() {
    assert(g_shared && "no application");
    return *g_shared;
}

void Application::becomeActive() {
    core::NotificationCenter::defaultCenter().post(std::string(core::kApplicationDidBecomeActiveNotification),
                                                   this);
}

void Application::enterBackground() {
    if (m_inBackground)
        return;
    m_inBackground = true;
    core::NotificationCenter::defaultCenter().post(
        std::string(core::kApplicationDidEnterBackgroundNotification), this);
}

void Application::enterForeground() {
    if (!m_inBackground)
        return;
    m_inBackground = false;
    core::NotificationCenter::defaultCenter().post(
        std::string(core::kApplicationWillEnterForegroundNotification), this);
}

void Application::terminate() {
    if (m_terminated)
        return;
    m_terminated = true;
    core::NotificationCenter::defaultCenter().post(std::string(core::kApplicationWillTerminateNotification),
                                                   this);
}

void Application::requestFrames() {
    if (!m_frameHandler)
        m_frameHandler =
            m_loop.addFrameHandler(core::FramePhase::Render, [this](core::TimePoint) { runFrame(); });
}

void Application::runFrame() {
    m_window->layoutIfNeeded();
    if (!m_window->needsDisplay()) {
        // Nothing moved or changed since the last frame: no more frames until something does.
        m_loop.removeFrameHandler(m_frameHandler);
        m_frameHandler = 0;
        return;
    }
    if (m_drawsFrames)
        renderIfNeeded();
}

void Application::renderIfNeeded() {
    m_window->layoutIfNeeded();
    if (!m_window->needsDisplay())
        return;
    m_window->markDisplayed();
    m_display.present(*m_frame, m_renderer.render(m_window->layer(), *m_frame, m_device.scale));
}

} // namespace ui
