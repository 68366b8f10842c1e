#pragma once

#include "platform/core/Color.h"
#include "platform/core/Geometry.h"

#include <span>
#include <variant>

namespace ui {

// A value of an animatable layer property.
using AnimatableValue = std::variant<float, core::Point, core::Rect, core::AffineTransform, core::Color>;

// The straight blend of two values of the same kind at t (0 gives `from`, 1 gives `to`). Transforms blend
// their translation, rotation (the shorter way round), shear and scale separately, so a turn stays a turn
// instead of shrinking through the middle. Values of different kinds give `to`.
AnimatableValue interpolate(const AnimatableValue& from, const AnimatableValue& to, double t);

// The smooth (Catmull-Rom) blend between values[index] and values[index + 1] at t, shaped by their
// neighbours; the ends count as their own neighbours.
AnimatableValue interpolateSmoothly(std::span<const AnimatableValue> values, size_t index, double t);

// How far apart two values are, as the length of the change of their components; keyframes of a paced
// animation get time in proportion to it.
double distanceBetween(const AnimatableValue& from, const AnimatableValue& to);

} // namespace ui
