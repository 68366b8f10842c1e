#pragma once

#include "platform/core/Geometry.h"

#include <optional>
#include <vector>

namespace zm {

// A curve through control points (x, y in 0 to 1) as the tone-curve texture takes it: 256 entries,
// entry i the curve's level at input level i less i. The curve is the natural cubic spline through the
// points (sorted by x; of points with the same x the first is kept), clamped to 0 to 255, 0 below the
// first point and 255 above the last. Points outside 0 to 1 shape the spline but give no entries of
// their own. No curve for fewer than two distinct points.
std::optional<std::vector<float>> preparedSplineCurve(const std::vector<core::Point>& controlPoints);

} // namespace zm
