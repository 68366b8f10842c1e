#include "playground/DistributionDrawingView.h"

#include "platform/ui/Device.h"
#include "platform/ui/ShapeLayer.h"

namespace zm {

namespace {

constexpr float kArrowWidth = 2;
constexpr double kDrawDuration = 1.5;
constexpr const char* kStrokeEndKey = "strokeEnd";

} // namespace

std::shared_ptr<DistributionDrawingView> DistributionDrawingView::create(const core::Rect& frame) {
    return std::shared_ptr<DistributionDrawingView>(new DistributionDrawingView(frame));
}

DistributionDrawingView::DistributionDrawingView(const core::Rect& frame)
    : DrawingView(frame) {}

void DistributionDrawingView::addDrawingPath(const DrawingPath& path) {
    m_paths.push_back(path);
}

bool DistributionDrawingView::isDisplayed() const {
    return !m_paths.empty();
}

void DistributionDrawingView::renderWithAnimation(bool animated) {
    if (m_shapeLayer)
        m_shapeLayer->removeFromSuperlayer();
    // Curves as the copies travel them: cubic on a tablet, quadratic on a phone.
    const bool cubic = ui::Device::current().isTablet();
    gfx::Path arrows;
    for (const DrawingPath& path : m_paths) {
        arrows.moveTo(path.firstPoint());
        if (cubic)
            arrows.curveTo(path.firstControl(), path.secondControl(), path.lastPoint());
        else
            arrows.quadTo(path.control(), path.lastPoint());
    }
    m_shapeLayer = ui::ShapeLayer::create();
    m_shapeLayer->setFrame(bounds());
    m_shapeLayer->setStrokeColor(color());
    m_shapeLayer->setLineWidth(kArrowWidth);
    m_shapeLayer->setFillColor(std::nullopt);
    m_shapeLayer->setPath(std::move(arrows));
    layer().addSublayer(m_shapeLayer);
    setHidden(false);
    if (animated) {
        m_shapeLayer->addAnimation(
            ui::Animation::basic(ui::LayerProperty::StrokeEnd, 0.0f, 1.0f).setDuration(kDrawDuration),
            kStrokeEndKey);
    }
}

void DistributionDrawingView::clear() {
    if (m_shapeLayer)
        m_shapeLayer->removeFromSuperlayer();
    m_shapeLayer = nullptr;
    m_paths.clear();
    setHidden(true);
}

} // namespace zm
