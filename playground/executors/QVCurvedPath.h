#pragma once

#include "playground/executors/QVStraightPath.h"

namespace zm {

// A quadratic curve between two points whose control point stands midway across, `height` above the
// start, or twice that below it: the arc a finger draws when it carries a term over its neighbours or
// under the equals sign.
class QVCurvedPath : public QVStraightPath {
public:
    QVCurvedPath(core::Point startPoint, core::Point endPoint, bool curveAbove, float height);

    core::Point controlPoint() const { return m_controlPoint; }

    core::Point pointAtPercentageThrough(float t) const override;

private:
    core::Point m_controlPoint;
};

} // namespace zm
