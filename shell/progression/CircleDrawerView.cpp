#include "shell/progression/CircleDrawerView.h"

#include "platform/gfx/Canvas.h"
#include "platform/ui/Device.h"
#include "platform/ui/ShapeLayer.h"

#include <algorithm>
#include <numbers>

namespace zm {

namespace {

// Dots per line.
constexpr uint32_t kCirclesPerRow = 4;

} // namespace

std::shared_ptr<CircleDrawerView> CircleDrawerView::create(const core::Rect& frame) {
    return std::shared_ptr<CircleDrawerView>(new CircleDrawerView(frame));
}

CircleDrawerView::CircleDrawerView(const core::Rect& frame)
    : View(frame) {
    // The progression widget sizes its rows to their dots: they draw anew rather than stretch.
    setContentMode(ui::ContentMode::Redraw);
}

void CircleDrawerView::setCompletedCircles(uint32_t count) {
    if (count == m_completedCircles + 1) {
        m_problemInProgress = true;
        setNeedsDisplay();
        animateCircle();
        return;
    }
    m_completedCircles = count;
    setNeedsDisplay();
}

int CircleDrawerView::numRows() const {
    return m_totalCircles < kCirclesPerRow + 1 ? 1 : 2;
}

float CircleDrawerView::circleWidth() const {
    const bool oneRow = numRows() == 1;
    if (ui::Device::current().isTablet())
        return oneRow ? 25 : 17;
    return oneRow ? 17 : 12;
}

float CircleDrawerView::spacing() const {
    return numRows() == 1 ? 5 : 2;
}

float CircleDrawerView::xOffset() const {
    return circleWidth() / 2 + spacing();
}

float CircleDrawerView::requestedWidth() const {
    const float count = float(std::min(m_totalCircles, kCirclesPerRow));
    return count * circleWidth() + (count + 1) * spacing();
}

core::Point CircleDrawerView::centerOfCircle(uint32_t index) const {
    const float step = spacing() + circleWidth();
    const float height = bounds().height();
    if (numRows() == 1)
        return {xOffset() + float(index) * step, 0.5f * height};
    const bool firstLine = index < kCirclesPerRow;
    const uint32_t column = firstLine ? index : index - kCirclesPerRow;
    return {xOffset() + float(column) * step, (firstLine ? 0.25f : 0.75f) * height};
}

void CircleDrawerView::draw(gfx::Canvas& canvas) {
    // One path collects the dots; each solved dot fills everything so far, the dot in progress strokes
    // everything so far, and the last colour chosen strokes the whole path at the end.
    const float radius = circleWidth() / 2;
    gfx::Path dots;
    core::Color stroke = core::Color::white();
    canvas.setFillColor(core::Color::white());
    canvas.setLineWidth(1);
    for (uint32_t i = 0; i < m_totalCircles; ++i) {
        const core::Point center = centerOfCircle(i);
        dots.addPath(gfx::Path::ellipse({center.x - radius, center.y - radius, 2 * radius, 2 * radius}));
        if (i < m_completedCircles) {
            stroke = core::Color::white();
            canvas.fillPath(dots);
        } else if (i == m_completedCircles && m_problemInProgress) {
            canvas.setStrokeColor(stroke);
            canvas.strokePath(dots);
        } else if (alpha() == 1) {
            stroke = core::Color::white(1, 0.25f);
        }
    }
    canvas.setStrokeColor(stroke);
    canvas.strokePath(dots);
}

void CircleDrawerView::animateCircle() {
    const uint32_t index = m_completedCircles;
    if (index == m_totalCircles) {
        m_problemInProgress = false;
        return;
    }
    // A ring half a dot wide around a quarter-dot radius covers the whole disc as it is swept.
    const float width = circleWidth();
    gfx::Path sweep;
    const float top = -std::numbers::pi_v<float> / 2;
    sweep.addArc(centerOfCircle(index), width / 4, top, top + 2 * std::numbers::pi_v<float>, true);

    if (m_circleLayer)
        m_circleLayer->removeFromSuperlayer();
    m_circleLayer = ui::ShapeLayer::create();
    m_circleLayer->setPath(std::move(sweep));
    m_circleLayer->setPosition({0, 0});
    m_circleLayer->setFillColor(std::nullopt);
    m_circleLayer->setStrokeColor(core::Color::white());
    m_circleLayer->setLineWidth(width / 2);
    layer().addSublayer(m_circleLayer);

    ui::Animation fill = ui::Animation::basic(ui::LayerProperty::StrokeEnd, 0.0f, 1.0f);
    fill.setDuration(kFillDuration)
        .setDelegate(std::static_pointer_cast<CircleDrawerView>(shared_from_this()));
    m_circleLayer->addAnimation(fill, std::string(kFillAnimationKey));
}

void CircleDrawerView::animationDidStop(const ui::Animation&, bool finished) {
    if (!finished)
        return;
    ++m_completedCircles;
    m_problemInProgress = false;
    setNeedsDisplay();
}

} // namespace zm
