#include "platform/ui/Label.h"

#include "platform/gfx/Canvas.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// The smallest font a shrinking label goes down to when no minimum scale is set.
constexpr float smallestPointSize = 1;

} // namespace

gfx::AttributedText scaledText(const gfx::AttributedText& text, float scale) {
    gfx::AttributedText scaled;
    for (const gfx::TextRun& run : text.runs())
        scaled.append(run.text, run.font.withSize(run.font.pointSize() * scale), run.color);
    return scaled;
}

std::shared_ptr<Label> Label::create(const core::Rect& frame) {
    return std::shared_ptr<Label>(new Label(frame));
}

Label::Label(const core::Rect& frame)
    : View(frame)
    , m_font(gfx::Font::system(17)) {
    setUserInteractionEnabled(false);
}

void Label::changed() {
    setNeedsDisplay();
}

void Label::setText(std::string text) {
    if (!m_usesAttributed && m_text == text)
        return;
    m_text = std::move(text);
    m_usesAttributed = false;
    m_attributed = {};
    changed();
}

void Label::setAttributedText(gfx::AttributedText text) {
    m_attributed = std::move(text);
    m_text = m_attributed.plainText();
    m_usesAttributed = true;
    changed();
}

void Label::setFont(const gfx::Font& font) {
    m_font = font;
    changed();
}

void Label::setTextColor(const core::Color& color) {
    m_textColor = color;
    changed();
}

void Label::setTextAlignment(gfx::TextAlignment alignment) {
    m_style.alignment = alignment;
    changed();
}

void Label::setLineBreakMode(gfx::LineBreakMode mode) {
    m_style.lineBreak = mode;
    changed();
}

void Label::setNumberOfLines(int lines) {
    m_style.maxLines = std::max(0, lines);
    changed();
}

void Label::setAdjustsFontSizeToFitWidth(bool adjusts) {
    m_adjustsFontSize = adjusts;
    changed();
}

void Label::setMinimumScaleFactor(float factor) {
    m_minimumScaleFactor = std::clamp(factor, 0.0f, 1.0f);
    changed();
}

gfx::AttributedText Label::content() const {
    return m_usesAttributed ? m_attributed : gfx::AttributedText(m_text, m_font);
}

float Label::fittingScale() const {
    if (!m_adjustsFontSize || m_style.maxLines != 1 || m_text.empty())
        return 1;
    const gfx::AttributedText text = content();
    const float width = gfx::measureText(text).width;
    const float available = bounds().width();
    if (width <= available || width <= 0)
        return 1;
    float largest = 0;
    for (const gfx::TextRun& run : text.runs())
        largest = std::max(largest, run.font.pointSize());
    const float floor =
        m_minimumScaleFactor > 0 ? m_minimumScaleFactor : (largest > 0 ? smallestPointSize / largest : 1);
    // Text widths grow about linearly with the size; measure once more at the guess to absorb the
    // rounding of the glyph advances.
    float scale = std::max(floor, available / width);
    while (scale > floor && gfx::measureText(scaledText(text, scale)).width > available)
        scale = std::max(floor, scale * 0.98f);
    return scale;
}

core::Size Label::sizeThatFits(core::Size size) const {
    const float width = size.width > 0 ? size.width : gfx::kUnlimitedWidth;
    const core::Size measured = gfx::measureText(content(), width, m_style);
    return {std::ceil(measured.width), std::ceil(measured.height)};
}

void Label::sizeToFit() {
    const core::Size size = sizeThatFits({});
    const core::Rect current = frame();
    setFrame({current.origin, size});
}

void Label::setShadow(const std::optional<gfx::Shadow>& shadow) {
    m_shadow = shadow;
    setNeedsDisplay();
}

void Label::draw(gfx::Canvas& canvas) {
    if (m_text.empty())
        return View::draw(canvas);
    const gfx::AttributedText text = scaledText(content(), fittingScale());
    const core::Rect area = bounds();
    const core::Size size = gfx::measureText(text, area.width(), m_style);
    const float top = area.minY() + (area.height() - size.height) / 2;
    canvas.setFillColor(m_textColor);
    canvas.setShadow(m_shadow);
    canvas.drawText(text, {area.minX(), top, area.width(), size.height}, m_style);
}

} // namespace ui
