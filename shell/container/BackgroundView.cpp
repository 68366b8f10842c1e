#include "shell/container/BackgroundView.h"

#include "platform/gfx/Canvas.h"
#include "shell/container/HueRotation.h"

namespace zm {

std::shared_ptr<BackgroundView> BackgroundView::create(const core::Rect& frame) {
    return std::shared_ptr<BackgroundView>(new BackgroundView(frame));
}

const std::shared_ptr<const gfx::Image>& BackgroundView::image() const {
    if (m_reading.valid()) {
        m_image = m_reading.get();
        m_reading = {};
    }
    return m_image;
}

void BackgroundView::setImage(std::shared_ptr<const gfx::Image> image) {
    m_reading = {};
    m_image = std::move(image);
    m_turned = nullptr;
    setNeedsDisplay();
}

void BackgroundView::setImage(std::shared_future<std::shared_ptr<const gfx::Image>> image) {
    setImage(nullptr);
    m_reading = std::move(image);
}

void BackgroundView::displayHueAngle(double angle) {
    m_hueAngle = angle;
    setNeedsDisplay();
}

void BackgroundView::draw(gfx::Canvas& canvas) {
    if (!image())
        return;
    if (!m_turned || m_turnedAngle != m_hueAngle) {
        m_turned = HueRotation(m_hueAngle).apply(*m_image);
        m_turnedAngle = m_hueAngle;
    }
    if (m_turned)
        canvas.drawImage(*m_turned, bounds());
}

} // namespace zm
