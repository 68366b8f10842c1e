#include "playground/DrawingView.h"

#include "platform/gfx/Canvas.h"
#include "platform/ui/Device.h"
#include "playground/views/ExprViewList.h"
#include "playground/views/ExprViewQuotient.h"

#include <algorithm>

namespace zm {

namespace {

// The line is tested at this many points from its start (its end point itself is not).
constexpr int kSamples = 50;

} // namespace

std::shared_ptr<DrawingView> DrawingView::create(const core::Rect& frame) {
    return std::shared_ptr<DrawingView>(new DrawingView(frame));
}

DrawingView::DrawingView(const core::Rect& frame)
    : ui::View(ui::Device::current().isTablet() ? frame : core::Rect{0, 0, 480, 320}) {
    setBackgroundColor(core::Color::white(1, 0));
    setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    setUserInteractionEnabled(false);
    setHidden(true);
}

void DrawingView::setStartPoint(core::Point point) {
    m_startPoint = point;
}

void DrawingView::setEndPoint(core::Point point) {
    m_endPoint = point;
    showLine();
}

void DrawingView::clear() {
    setStartPoint({-1, -1});
    setEndPoint({-1, -1});
}

bool DrawingView::isDisplayed() const {
    return m_startPoint.x != -1;
}

void DrawingView::showLine() {
    setHidden(m_startPoint.x == -1 || m_endPoint.x == -1);
    setNeedsDisplay();
}

void DrawingView::draw(gfx::Canvas& canvas) {
    if (m_startPoint.x == -1 || m_endPoint.x == -1)
        return;
    gfx::Path line;
    line.moveTo(m_startPoint);
    line.lineTo(m_endPoint);
    canvas.setStrokeColor(m_color);
    canvas.setLineWidth(m_space * 0.5f);
    canvas.strokePath(line);
}

std::vector<std::shared_ptr<ExprView>> DrawingView::getHits(const ExprView& exprView) const {
    std::vector<std::shared_ptr<ExprView>> hits;
    const float dx = m_endPoint.x - m_startPoint.x;
    const float dy = m_endPoint.y - m_startPoint.y;
    for (int i = 0; i < kSamples; ++i) {
        const core::Point sample{float(m_startPoint.x + double(dx * float(i)) / kSamples),
                                 float(m_startPoint.y + double(dy * float(i)) / kSamples)};
        std::shared_ptr<ExprView> view = exprView.getExprViewFromPoint(sample);
        if (!view || isExactly<ExprViewQuotient>(view.get()) || isExactly<ExprViewProduct>(view.get()) ||
            std::ranges::find(hits, view) != hits.end())
            continue;
        hits.push_back(std::move(view));
    }
    return hits;
}

} // namespace zm
