#include "platform/ui/Switch.h"

#include "platform/gfx/Canvas.h"

#include <algorithm>

namespace ui {

std::shared_ptr<Switch> Switch::create(const core::Rect& frame) {
    return std::shared_ptr<Switch>(new Switch(frame));
}

Switch::Switch(const core::Rect& frame)
    : Control(frame) {
    setContentMode(ContentMode::Redraw);
}

void Switch::setOn(bool on) {
    if (on == m_on)
        return;
    m_on = on;
    setNeedsDisplay();
}

void Switch::setOnTintColor(const core::Color& color) {
    m_onTint = color;
    setNeedsDisplay();
}

void Switch::endTracking(const Touch&, const Event&) {
    if (!isTouchInside())
        return;
    setOn(!m_on);
    sendActions(ControlEvent::ValueChanged);
}

void Switch::draw(gfx::Canvas& canvas) {
    const core::Rect area = bounds().insetBy(1, 1);
    const float radius = area.height() / 2;
    const gfx::Path track = gfx::Path::roundedRect(area, radius);
    canvas.setFillColor(m_on ? m_onTint : core::Color::white(0.9f));
    canvas.fillPath(track);
    canvas.setStrokeColor(m_on ? m_onTint : core::Color::white(0.8f));
    canvas.setLineWidth(1);
    canvas.strokePath(track);
    const float knob = area.height() - 2;
    const float x = m_on ? area.maxX() - knob - 1 : area.minX() + 1;
    canvas.save();
    canvas.setShadow(gfx::Shadow{{0, 1}, 2, core::Color::rgba(0, 0, 0, 0.3f)});
    canvas.setFillColor(isHighlighted() ? core::Color::white(0.95f) : core::Color::white());
    canvas.fillPath(gfx::Path::ellipse({x, area.minY() + 1, knob, knob}));
    canvas.restore();
}

} // namespace ui
