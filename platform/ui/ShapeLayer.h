#pragma once

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Path.h"
#include "platform/ui/Layer.h"

#include <optional>

namespace ui {

// A layer that fills and strokes a path given in its own coordinates. Only the part of the stroke from
// strokeStart to strokeEnd (shares of the path's length) is drawn, so animating strokeEnd from 0 to 1
// draws the line as if by hand.
class ShapeLayer : public Layer {
public:
    static std::shared_ptr<ShapeLayer> create();

    const gfx::Path& path() const { return m_path; }
    void setPath(gfx::Path path);
    // No fill colour fills nothing; the default is black. No stroke colour (the default) strokes nothing.
    const std::optional<core::Color>& fillColor() const { return m_fillColor; }
    void setFillColor(std::optional<core::Color> color);
    const std::optional<core::Color>& strokeColor() const { return m_strokeColor; }
    void setStrokeColor(std::optional<core::Color> color);
    float lineWidth() const { return m_lineWidth; }
    void setLineWidth(float width);
    gfx::LineCap lineCap() const { return m_lineCap; }
    void setLineCap(gfx::LineCap cap);
    gfx::LineJoin lineJoin() const { return m_lineJoin; }
    void setLineJoin(gfx::LineJoin join);
    float strokeStart() const { return m_strokeStart; }
    void setStrokeStart(float share);
    float strokeEnd() const { return m_strokeEnd; }
    void setStrokeEnd(float share);

    AnimatableValue modelValue(LayerProperty property) const override;
    void drawContent(gfx::Canvas& canvas) const override;
    core::Rect drawingExtents() const override;

private:
    ShapeLayer() = default;

    gfx::Path m_path;
    std::optional<core::Color> m_fillColor = core::Color::black();
    std::optional<core::Color> m_strokeColor;
    float m_lineWidth = 1;
    gfx::LineCap m_lineCap = gfx::LineCap::Butt;
    gfx::LineJoin m_lineJoin = gfx::LineJoin::Miter;
    float m_strokeStart = 0;
    float m_strokeEnd = 1;
};

} // namespace ui
