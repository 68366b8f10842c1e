#pragma once

#include "model/Anchor.h"
#include "platform/core/Geometry.h"

#include <optional>

namespace zm {

// The point of `rect` named by `anchor`; the rectangle's origin for a value outside the nine.
core::Point pointAtAnchorInRect(const core::Rect& rect, Anchor anchor);

// Every view is placed by naming one of its points. A view lays itself out from one point of its own
// (the top-left corner of a label, the middle of the left edge of a row of terms) and reaches it from
// any other anchor through one shared table: each entry turns a point at one anchor into the point at
// another, nearer that corner, for a view of the given size.
struct AnchoredPoint {
    core::Point point;
    Anchor anchor;
};

// One entry of the table. None for AnchorTopLeft and AnchorCenter, where each class has its own rule,
// and for a value outside the nine.
std::optional<AnchoredPoint> reduceAnchorOnce(AnchoredPoint position, core::Size size);

// The top-left corner of a view of `size` whose point at `anchor` is `point` (its centre standing half
// the size away); none for a value outside the nine.
std::optional<core::Point> topLeftForAnchor(core::Point point, Anchor anchor, core::Size size);

// The middle of the left edge of a row of `size` whose point at `anchor` is `point`. The centre lies
// `centerOffset` right of the middle-left point, half the width for a plain row. None for a value
// outside the nine.
std::optional<core::Point> middleLeftForAnchor(core::Point point, Anchor anchor, core::Size size,
                                               float centerOffset);
inline std::optional<core::Point> middleLeftForAnchor(core::Point point, Anchor anchor, core::Size size) {
    return middleLeftForAnchor(point, anchor, size, size.width / 2);
}

} // namespace zm
