#include "platform/ui/ShapeLayer.h"

#include <algorithm>

namespace ui {

std::shared_ptr<ShapeLayer> ShapeLayer::create() {
    return std::shared_ptr<ShapeLayer>(new ShapeLayer);
}

void ShapeLayer::setPath(gfx::Path path) {
    m_path = std::move(path);
    invalidate();
}

void ShapeLayer::setFillColor(std::optional<core::Color> color) {
    m_fillColor = color;
    invalidate();
}

void ShapeLayer::setStrokeColor(std::optional<core::Color> color) {
    m_strokeColor = color;
    invalidate();
}

void ShapeLayer::setLineWidth(float width) {
    m_lineWidth = std::max(width, 0.0f);
    invalidate();
}

void ShapeLayer::setLineCap(gfx::LineCap cap) {
    m_lineCap = cap;
    invalidate();
}

void ShapeLayer::setLineJoin(gfx::LineJoin join) {
    m_lineJoin = join;
    invalidate();
}

void ShapeLayer::setStrokeStart(float share) {
    m_strokeStart = std::clamp(share, 0.0f, 1.0f);
    invalidate();
}

void ShapeLayer::setStrokeEnd(float share) {
    m_strokeEnd = std::clamp(share, 0.0f, 1.0f);
    invalidate();
}

AnimatableValue ShapeLayer::modelValue(LayerProperty property) const {
    if (property == LayerProperty::StrokeStart)
        return m_strokeStart;
    if (property == LayerProperty::StrokeEnd)
        return m_strokeEnd;
    return Layer::modelValue(property);
}

void ShapeLayer::drawContent(gfx::Canvas& canvas) const {
    if (m_path.isEmpty())
        return;
    if (m_fillColor && m_fillColor->alpha() > 0) {
        canvas.setFillColor(*m_fillColor);
        canvas.fillPath(m_path);
    }
    if (!m_strokeColor || m_strokeColor->alpha() <= 0 || m_lineWidth <= 0)
        return;
    const float start =
        std::clamp(std::get<float>(presentationValue(LayerProperty::StrokeStart)), 0.0f, 1.0f);
    const float end = std::clamp(std::get<float>(presentationValue(LayerProperty::StrokeEnd)), 0.0f, 1.0f);
    if (end <= start)
        return;
    canvas.setStrokeColor(*m_strokeColor);
    canvas.setLineWidth(m_lineWidth);
    canvas.setLineCap(m_lineCap);
    canvas.setLineJoin(m_lineJoin);
    canvas.strokePath(start == 0 && end == 1 ? m_path : m_path.trimmed(start, end));
}

core::Rect ShapeLayer::drawingExtents() const {
    if (m_path.isEmpty())
        return Layer::drawingExtents();
    // A mitred corner reaches out up to half the line width times the canvas's miter limit (10).
    const float reach = m_lineJoin == gfx::LineJoin::Miter ? 5 * m_lineWidth : m_lineWidth;
    return m_path.bounds().insetBy(-reach, -reach).united(Layer::drawingExtents());
}

} // namespace ui
