#include "components/NZTextStylePicker/NZUpDownControl.h"

#include "platform/core/DispatchQueue.h"
#include "platform/gfx/Canvas.h"

#include <numbers>

namespace zm {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kCornerRadius = 4;
// How long after a quick tap its pressed half still shows.
constexpr double kPressedAfterglow = 0.1;

core::Color grey(float level) {
    return core::Color::rgb255(level, level, level);
}

const core::Color kDarkArrow = core::Color::rgb255(105, 109, 114);
const core::Color kLightArrow = core::Color::rgb255(195, 199, 204);

void strokeLine(gfx::Canvas& canvas, core::Point from, core::Point to, const core::Color& color) {
    gfx::Path line;
    line.moveTo(from);
    line.lineTo(to);
    canvas.setStrokeColor(color);
    canvas.strokePath(line);
}

// A triangle 10 wide and 10 high, filled with a white shadow one point below it.
void fillArrow(gfx::Canvas& canvas, core::Point a, core::Point b, core::Point c, const core::Color& color) {
    gfx::Path arrow;
    arrow.moveTo(a);
    arrow.lineTo(b);
    arrow.lineTo(c);
    arrow.close();
    canvas.save();
    canvas.setShadow(gfx::Shadow{{0, 1}, 1, core::Color::white()});
    canvas.setFillColor(color);
    canvas.fillPath(arrow);
    canvas.restore();
}

} // namespace

std::shared_ptr<NZUpDownControl> NZUpDownControl::create(const core::Rect& frame) {
    return std::shared_ptr<NZUpDownControl>(new NZUpDownControl(frame));
}

NZUpDownControl::NZUpDownControl(const core::Rect& frame)
    : Control(frame) {
    setBackgroundColor(core::Color::clear());
    setContentMode(ui::ContentMode::Redraw);
}

bool NZUpDownControl::isInside(const ui::Touch& touch) const {
    return bounds().contains(touch.locationInView(this));
}

bool NZUpDownControl::beginTracking(const ui::Touch& touch, const ui::Event&) {
    m_topHalfSelected = touch.locationInView(this).y < bounds().height() / 2;
    const bool stuck = m_topHalfSelected ? m_value >= m_maximumAllowedValue : m_minimumAllowedValue >= m_value;
    if (stuck)
        return false;
    m_selected = true;
    m_touchNeedsDisplay = true;
    setNeedsDisplay();
    return true;
}

bool NZUpDownControl::continueTracking(const ui::Touch& touch, const ui::Event&) {
    const bool inside = isInside(touch);
    if (inside != m_selected) {
        m_selected = inside;
        setNeedsDisplay();
    }
    return true;
}

void NZUpDownControl::endTracking(const ui::Touch& touch, const ui::Event&) {
    if (isInside(touch))
        processTouchUp();
    m_selected = false;
    setNeedsDisplay();
    // A tap too quick to have been drawn pressed is drawn pressed now, and released a moment later.
    if (m_touchNeedsDisplay)
        core::DispatchQueue::main()->after(
            core::fromSeconds(kPressedAfterglow),
            [weak = std::weak_ptr(std::static_pointer_cast<NZUpDownControl>(shared_from_this()))] {
                if (const auto control = weak.lock())
                    control->setNeedsDisplay();
            });
}

void NZUpDownControl::cancelTracking(const ui::Event&) {
    m_selected = false;
    setNeedsDisplay();
}

void NZUpDownControl::processTouchUp() {
    if (m_topHalfSelected && m_value < m_maximumAllowedValue)
        ++m_value;
    else if (!m_topHalfSelected && m_value > m_minimumAllowedValue)
        --m_value;
    else
        return;
    setNeedsDisplay();
    sendActions(ui::ControlEvent::ValueChanged);
}

void NZUpDownControl::draw(gfx::Canvas& canvas) {
    const bool pressed = m_selected || m_touchNeedsDisplay;
    m_touchNeedsDisplay = false;
    const bool upperPressed = pressed && m_topHalfSelected;
    const bool lowerPressed = pressed && !m_topHalfSelected;
    const core::Rect area = bounds();
    const float x = area.minX(), y = area.minY(), w = area.width(), h = area.height();
    const float middle = y + h / 2;

    canvas.save();
    canvas.clipToPath(gfx::Path::roundedRect(area, kCornerRadius));
    canvas.drawLinearGradient({{{0, grey(214)}, {1, grey(252)}}}, {x, y}, {x, area.maxY()});
    if (lowerPressed)
        canvas.drawLinearGradient({{{0, grey(225)}, {1, grey(252)}}}, {x, middle}, {x, area.maxY()});
    if (upperPressed)
        canvas.drawLinearGradient({{{0, grey(200)}, {1, grey(233)}}}, {x, y}, {x, middle});
    else
        strokeLine(canvas, {x + 2, y + 1}, {x + w - 2, y + 1}, grey(234));
    strokeLine(canvas, {x + 1, middle + 1}, {x + w - 1, middle + 1}, grey(244));

    // The outline: both halves, joined along the divider.
    gfx::Path outline;
    outline.moveTo({x, middle});
    outline.lineTo({x, y + kCornerRadius});
    outline.addArc({x + kCornerRadius, y + kCornerRadius}, kCornerRadius, kPi, 3 * kPi / 2, true);
    outline.lineTo({x + w - kCornerRadius, y});
    outline.addArc({x + w - kCornerRadius, y + kCornerRadius}, kCornerRadius, 3 * kPi / 2, 2 * kPi, true);
    outline.lineTo({x + w, middle});
    outline.lineTo({x, middle});
    outline.lineTo({x, y + h - kCornerRadius});
    outline.addArc({x + kCornerRadius, y + h - kCornerRadius}, kCornerRadius, kPi, kPi / 2, false);
    outline.lineTo({x + w - kCornerRadius, y + h});
    outline.addArc({x + w - kCornerRadius, y + h - kCornerRadius}, kCornerRadius, kPi / 2, 0, false);
    outline.lineTo({x + w, middle});
    canvas.setLineWidth(1);
    canvas.setStrokeColor(grey(184));
    canvas.strokePath(outline);

    const float left = x + w - 22;
    const float upTop = y + h / 4 - 5;
    fillArrow(canvas, {left + 5, upTop}, {left + 10, upTop + 10}, {left, upTop + 10},
              m_value < m_maximumAllowedValue ? kDarkArrow : kLightArrow);
    const float downTop = y + 3 * h / 4 - 5;
    fillArrow(canvas, {left + 5, downTop + 10}, {left, downTop}, {left + 10, downTop},
              m_minimumAllowedValue < m_value ? kDarkArrow : kLightArrow);
    canvas.restore();
}

} // namespace zm
