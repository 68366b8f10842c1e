#include "playground/executors/TouchCircleView.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Path.h"
#include "platform/ui/Device.h"

#include <numbers>

namespace zm {

namespace {

float indicatorSize() {
    return ui::Device::current().isTablet() ? 50 : 30;
}

} // namespace

std::shared_ptr<TouchCircleView> TouchCircleView::create() {
    return std::shared_ptr<TouchCircleView>(new TouchCircleView());
}

TouchCircleView::TouchCircleView()
    : ui::View({0, 0, indicatorSize(), indicatorSize()}) {
    setBackgroundColor(core::Color::clear());
    setUserInteractionEnabled(false);
}

void TouchCircleView::setTouchedDown(bool touchedDown) {
    m_touchedDown = touchedDown;
    setNeedsDisplay();
}

void TouchCircleView::draw(gfx::Canvas& canvas) {
    const core::Rect area = bounds();
    gfx::Path circle;
    circle.addArc({area.width() / 2, area.height() / 2}, (area.width() - 2) / 2, 0,
                  2 * std::numbers::pi_v<float>, true);
    canvas.setLineWidth(1);
    canvas.setStrokeColor(core::Color::white(1, 0.75f));
    canvas.strokePath(circle);
    canvas.setFillColor(m_touchedDown ? core::Color::white(1, 0.75f) : core::Color::white(0, 0.1f));
    canvas.fillPath(circle);
}

} // namespace zm
