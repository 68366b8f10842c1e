#include "platform/host/HeadlessHost.h"

#include "platform/core/Files.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Png.h"
#include "platform/ui/Window.h"

#include <string_view>

namespace host {

HeadlessHost::HeadlessHost(const ui::Device& device)
    : m_clock(std::make_shared<core::ManualClock>())
    , m_loop(m_clock)
    , m_application(m_loop, device, *this, m_sounds) {}

HeadlessHost::~HeadlessHost() = default;

void HeadlessHost::advance(double seconds) {
    m_loop.advanceBy(core::fromSeconds(seconds));
}

void HeadlessHost::settle(double seconds) {
    m_application.setDrawsFrames(false);
    advance(seconds);
    m_application.setDrawsFrames(true);
}

void HeadlessHost::send(ui::TouchPhase phase, core::Point point, int finger) {
    const ui::Window::TouchInput input{finger, phase, point};
    window().dispatchTouches({&input, 1}, now());
    m_loop.runUntilIdle();
}

void HeadlessHost::typeText(std::string_view text) {
    window().insertText(text);
    m_loop.runUntilIdle();
}

void HeadlessHost::pressKey(ui::EditingKey key) {
    window().pressKey(key);
    m_loop.runUntilIdle();
}

void HeadlessHost::touchDown(core::Point point, int finger) {
    send(ui::TouchPhase::Began, point, finger);
}

void HeadlessHost::touchMove(core::Point point, int finger) {
    send(ui::TouchPhase::Moved, point, finger);
}

void HeadlessHost::touchUp(core::Point point, int finger) {
    send(ui::TouchPhase::Ended, point, finger);
}

void HeadlessHost::cancelTouches() {
    window().cancelTouches(now());
    m_loop.runUntilIdle();
}

void HeadlessHost::play(std::span<const TouchStep> script) {
    const double start = now();
    for (const TouchStep& step : script) {
        const double wait = start + step.time - now();
        if (wait > 0)
            advance(wait);
        send(step.phase, step.point, step.finger);
    }
}

std::shared_ptr<const gfx::Image> HeadlessHost::screenshot() {
    m_application.renderIfNeeded();
    const gfx::Bitmap& frame = m_application.frame();
    return std::make_shared<const gfx::Image>(frame.copy(0, 0, frame.width(), frame.height()),
                                              m_application.device().scale);
}

core::Status HeadlessHost::writeScreenshot(const std::filesystem::path& file) {
    m_application.renderIfNeeded();
    const std::vector<std::uint8_t> png = gfx::encodePng(m_application.frame());
    return core::writeFileAtomically(file,
                                     std::string_view(reinterpret_cast<const char*>(png.data()), png.size()));
}

} // namespace host
