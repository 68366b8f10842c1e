#pragma once

#include "platform/core/Geometry.h"

namespace zm {

// The curve along which the distribution playground carries a factor into each term: a cubic curve on
// a tablet (two controls derived from the one given, at its height, a quarter of the way in from each
// end), a quadratic one through the control on a phone.
class DrawingPath {
public:
    DrawingPath(core::Point first, core::Point last, core::Point control);

    core::Point firstPoint() const { return m_firstPoint; }
    core::Point lastPoint() const { return m_lastPoint; }
    core::Point control() const { return m_control; }
    // (-1, -1) on a phone.
    core::Point firstControl() const { return m_firstControl; }
    core::Point secondControl() const { return m_secondControl; }

    // The point of the curve at t (0 to 1), counted from its left end whichever way it was drawn.
    core::Point getPositionAtPercentageThrough(float t) const;

private:
    core::Point m_firstPoint;
    core::Point m_lastPoint;
    core::Point m_control;
    core::Point m_firstControl{-1, -1};
    core::Point m_secondControl{-1, -1};
    bool m_cubic;
};

} // namespace zm
