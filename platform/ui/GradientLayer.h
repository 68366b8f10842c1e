#pragma once

#include "platform/ui/Layer.h"

#include <vector>

namespace ui {

// A layer that fills its bounds with a linear gradient. Points are in shares of the bounds (0, 0 the
// top-left corner, 1, 1 the bottom-right); beyond its ends the gradient keeps its end colours. As a
// mask, its alpha decides what shows.
class GradientLayer : public Layer {
public:
    static std::shared_ptr<GradientLayer> create();

    const std::vector<core::Color>& colors() const { return m_colors; }
    void setColors(std::vector<core::Color> colors);
    // One location (0 to 1) per colour; without them, or when their number differs from the colours',
    // the colours are spread evenly.
    const std::vector<float>& locations() const { return m_locations; }
    void setLocations(std::vector<float> locations);
    core::Point startPoint() const { return m_startPoint; }
    void setStartPoint(core::Point point);
    core::Point endPoint() const { return m_endPoint; }
    void setEndPoint(core::Point point);

    void drawContent(gfx::Canvas& canvas) const override;
    core::Rect drawingExtents() const override;

private:
    GradientLayer() = default;

    std::vector<core::Color> m_colors;
    std::vector<float> m_locations;
    core::Point m_startPoint{0.5f, 0};
    core::Point m_endPoint{0.5f, 1};
};

} // namespace ui
