#include "platform/ui/GradientLayer.h"

#include "platform/gfx/Canvas.h"

namespace ui {

std::shared_ptr<GradientLayer> GradientLayer::create() {
    return std::shared_ptr<GradientLayer>(new GradientLayer);
}

void GradientLayer::setColors(std::vector<core::Color> colors) {
    m_colors = std::move(colors);
    invalidate();
}

void GradientLayer::setLocations(std::vector<float> locations) {
    m_locations = std::move(locations);
    invalidate();
}

void GradientLayer::setStartPoint(core::Point point) {
    m_startPoint = point;
    invalidate();
}

void GradientLayer::setEndPoint(core::Point point) {
    m_endPoint = point;
    invalidate();
}

void GradientLayer::drawContent(gfx::Canvas& canvas) const {
    if (m_colors.empty())
        return;
    const bool located = m_locations.size() == m_colors.size();
    gfx::Gradient gradient;
    for (size_t i = 0; i < m_colors.size(); ++i) {
        const float even = m_colors.size() == 1 ? 0 : float(i) / float(m_colors.size() - 1);
        gradient.stops.push_back({located ? m_locations[i] : even, m_colors[i]});
    }
    const core::Rect bounds = presentation().bounds;
    auto at = [&](core::Point share) {
        return core::Point{bounds.minX() + share.x * bounds.width(),
                           bounds.minY() + share.y * bounds.height()};
    };
    canvas.save();
    canvas.clipToRect(bounds);
    canvas.drawLinearGradient(gradient, at(m_startPoint), at(m_endPoint), {true, true});
    canvas.restore();
}

core::Rect GradientLayer::drawingExtents() const {
    return m_colors.empty() ? Layer::drawingExtents() : presentation().bounds;
}

} // namespace ui
