#pragma once

#include "platform/core/Geometry.h"

namespace zm {

// The way the demonstrating finger takes in a drag, in the playground view's coordinates: a straight
// line here, a curve in `QVCurvedPath`. A drag is paced by `distance`, one touch move per point of it.
class QVStraightPath {
public:
    QVStraightPath(core::Point startPoint, core::Point endPoint)
        : m_startPoint(startPoint)
        , m_endPoint(endPoint) {}
    virtual ~QVStraightPath() = default;

    core::Point startPoint() const { return m_startPoint; }
    core::Point endPoint() const { return m_endPoint; }

    // The point a share `t` (0 to 1) of the way along.
    virtual core::Point pointAtPercentageThrough(float t) const;
    // The straight distance between the ends, also for a curve: a curved drag is paced by its chord.
    float distance() const;

private:
    core::Point m_startPoint;
    core::Point m_endPoint;
};

} // namespace zm
