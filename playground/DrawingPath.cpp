#include "playground/DrawingPath.h"

#include "platform/ui/Device.h"

namespace zm {

DrawingPath::DrawingPath(core::Point first, core::Point last, core::Point control)
    : m_firstPoint(first)
    , m_lastPoint(last)
    , m_control(control)
    , m_cubic(ui::Device::current().isTablet()) {
    if (m_cubic) {
        m_firstControl = {(3 * first.x + control.x) / 4, control.y};
        m_secondControl = {(3 * last.x + control.x) / 4, control.y};
    }
}

core::Point DrawingPath::getPositionAtPercentageThrough(float percentage) const {
    double t = percentage;
    if (m_lastPoint.x < m_firstPoint.x)
        t = 1 - t;
    const double u = 1 - t;
    auto blend = [&](auto coordinate) {
        if (m_cubic)
            return u * u * u * coordinate(m_firstPoint) + 3 * u * u * t * coordinate(m_firstControl) +
                   3 * u * t * t * coordinate(m_secondControl) + t * t * t * coordinate(m_lastPoint);
        return u * u * coordinate(m_firstPoint) + 2 * t * u * coordinate(m_control) +
               t * t * coordinate(m_lastPoint);
    };
    return {float(blend([](core::Point p) { return double(p.x); })),
            float(blend([](core::Point p) { return double(p.y); }))};
}

} // namespace zm
