#include "platform/ui/ActivityIndicatorView.h"

#include "platform/gfx/Canvas.h"
#include "platform/ui/Animation.h"

#include <cmath>
#include <numbers>

namespace ui {

namespace {

constexpr int spokes = 12;
constexpr double turnDuration = 1;
constexpr std::string_view spinKey = "spin";

} // namespace

std::shared_ptr<ActivityIndicatorView> ActivityIndicatorView::create(Style style) {
    return std::shared_ptr<ActivityIndicatorView>(new ActivityIndicatorView(style));
}

ActivityIndicatorView::ActivityIndicatorView(Style style)
    : View({})
    , m_style(style) {
    setUserInteractionEnabled(false);
    setContentMode(ContentMode::Redraw);
    setStyle(style);
    setHidden(true);
}

void ActivityIndicatorView::setStyle(Style style) {
    m_style = style;
    const float side = style == Style::WhiteLarge ? 37 : 20;
    setBounds({0, 0, side, side});
    setColor(style == Style::Gray ? core::Color::rgb255(128, 128, 128) : core::Color::white());
}

void ActivityIndicatorView::setColor(const core::Color& color) {
    m_color = color;
    setNeedsDisplay();
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides) {
    m_hidesWhenStopped = hides;
    if (!m_animating)
        setHidden(hides);
}

void ActivityIndicatorView::startAnimating() {
    if (m_animating)
        return;
    m_animating = true;
    setHidden(false);
    spin();
}

void ActivityIndicatorView::stopAnimating() {
    if (!m_animating)
        return;
    m_animating = false;
    layer().removeAnimation(spinKey);
    if (m_hidesWhenStopped)
        setHidden(true);
}

void ActivityIndicatorView::spin() {
    if (!m_animating || layer().animation(spinKey))
        return;
    // Three keyframes a turn, so that each step turns the short way round.
    std::vector<AnimatableValue> turns;
    for (int third = 0; third <= 3; ++third)
        turns.push_back(transform().rotated(float(third) * 2 * std::numbers::pi_v<float> / 3));
    layer().addAnimation(Animation::keyframes(LayerProperty::Transform, std::move(turns))
                             .setDuration(turnDuration)
                             .setRepeatCount(INFINITY),
                         std::string(spinKey));
}

void ActivityIndicatorView::didMoveToWindow() {
    View::didMoveToWindow();
    if (window())
        spin();
}

void ActivityIndicatorView::draw(gfx::Canvas& canvas) {
    const core::Rect area = bounds();
    const float radius = std::min(area.width(), area.height()) / 2;
    const float thickness = radius * 0.22f;
    canvas.setLineCap(gfx::LineCap::Round);
    canvas.setLineWidth(thickness);
    for (int spoke = 0; spoke < spokes; ++spoke) {
        // The leading spoke is solid; those behind it fade.
        const float angle = float(spoke) * 2 * std::numbers::pi_v<float> / spokes;
        const float fade = 1 - 0.85f * float(spoke) / spokes;
        canvas.setStrokeColor(m_color.withAlpha(m_color.alpha() * fade));
        const float inner = radius * 0.45f;
        const float outer = radius - thickness / 2;
        gfx::Path line;
        line.moveTo({area.midX() + inner * std::sin(-angle), area.midY() - inner * std::cos(-angle)});
        line.lineTo({area.midX() + outer * std::sin(-angle), area.midY() - outer * std::cos(-angle)});
        canvas.strokePath(line);
    }
}

} // namespace ui
