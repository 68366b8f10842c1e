#include "playground/executors/QVCurvedPath.h"

namespace zm {

namespace {

float bezierCoordinateAtPercentage(float start, float control, float end, float t) {
    const double u = 1.0 - t;
    return float(u * u * start + 2.0 * t * u * control + double(t) * t * end);
}

} // namespace

QVCurvedPath::QVCurvedPath(core::Point startPoint, core::Point endPoint, bool curveAbove, float height)
    : QVStraightPath(startPoint, endPoint)
    , m_controlPoint{(startPoint.x + endPoint.x) / 2,
                     curveAbove ? startPoint.y - height : startPoint.y + 2 * height} {}

core::Point QVCurvedPath::pointAtPercentageThrough(float t) const {
    return {bezierCoordinateAtPercentage(startPoint().x, m_controlPoint.x, endPoint().x, t),
            bezierCoordinateAtPercentage(startPoint().y, m_controlPoint.y, endPoint().y, t)};
}

} // namespace zm
