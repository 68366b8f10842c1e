#include "playground/executors/QVStraightPath.h"

#include "playground/ScreenGeometry.h"

namespace zm {

core::Point QVStraightPath::pointAtPercentageThrough(float t) const {
    return {m_startPoint.x + t * (m_endPoint.x - m_startPoint.x),
            m_startPoint.y + t * (m_endPoint.y - m_startPoint.y)};
}

float QVStraightPath::distance() const {
    return distanceBetweenPoints(m_startPoint, m_endPoint);
}

} // namespace zm
