#include "shell/completion/SunburstView.h"

#include "platform/gfx/Canvas.h"
#include "platform/ui/ViewAnimation.h"

#include <numbers>

namespace zm {

namespace {

constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2;
// Each ray is half of its period: a ray of 15 degrees, then a gap of 15 degrees.
constexpr float kRayPeriod = 2 * std::numbers::pi_v<float> / SunburstView::kRayCount;
constexpr float kRayWidth = kRayPeriod / 2;

core::Rect squareAsHighAs(const core::Rect& frame) {
    const float side = frame.height();
    return {(frame.width() - side) / 2, frame.minY(), side, side};
}

} // namespace

std::shared_ptr<SunburstView> SunburstView::create(const core::Rect& frame) {
    return std::shared_ptr<SunburstView>(new SunburstView(frame));
}

SunburstView::SunburstView(const core::Rect& frame)
    : ui::View(squareAsHighAs(frame)) {
    setBackgroundColor(core::Color::clear());
}

void SunburstView::spin() {
    ui::AnimationParameters parameters;
    parameters.duration = double(m_speed * 0.25f);
    parameters.curve = ui::AnimationCurve::Linear;
    parameters.options = ui::AnimationOptions::Repeat | ui::AnimationOptions::BeginFromCurrentState;
    const float quarter = m_reverseDirection ? -kQuarterTurn : kQuarterTurn;
    ui::animate(parameters, [this, quarter] { setTransform(transform().rotated(quarter)); });
}

void SunburstView::draw(gfx::Canvas& canvas) {
    const core::Rect& area = bounds();
    const core::Point centre{area.width() / 2, area.height() / 2};
    const float radius = area.width() / 2;

    gfx::Path rays;
    for (int ray = 0; ray < kRayCount; ++ray) {
        const float start = float(ray) * kRayPeriod;
        rays.moveTo(centre);
        rays.addArc(centre, radius, start, start + kRayWidth, true);
    }
    const gfx::Gradient fade{{{0, core::Color::white(1, m_startAlpha)}, {1, core::Color::white(1, 0)}}};
    canvas.save();
    canvas.clipToPath(rays);
    canvas.drawRadialGradient(fade, centre, 0, centre, radius);
    canvas.restore();
}

} // namespace zm
