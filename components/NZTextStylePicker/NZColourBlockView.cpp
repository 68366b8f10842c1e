#include "components/NZTextStylePicker/NZColourBlockView.h"

#include "platform/gfx/Canvas.h"

namespace zm {

std::shared_ptr<NZColourBlockView> NZColourBlockView::create(const core::Rect& frame) {
    return std::shared_ptr<NZColourBlockView>(new NZColourBlockView(frame));
}

NZColourBlockView::NZColourBlockView(const core::Rect& frame)
    : View(frame) {
    setBackgroundColor(core::Color::clear());
    setContentMode(ui::ContentMode::Redraw);
}

void NZColourBlockView::setColour(std::optional<core::Color> colour) {
    m_colour = colour;
    setNeedsDisplay();
}

void NZColourBlockView::setCornerRadius(float radius) {
    m_cornerRadius = radius;
    setNeedsDisplay();
}

void NZColourBlockView::draw(gfx::Canvas& canvas) {
    canvas.setFillColor(m_colour.value_or(core::Color::black()));
    canvas.fillPath(gfx::Path::roundedRect(bounds(), m_cornerRadius));
}

} // namespace zm
