#pragma once

#include "model/Anchor.h"
#include "platform/core/Geometry.h"

#include <memory>

namespace zm {

// A position in the host view's coordinates: the point on which a view's point at `anchor` is to lie.
// Made once and then only read, so several records may share one.
class ZMPos {
public:
    ZMPos(core::Point point, Anchor anchor)
        : m_point(point)
        , m_anchor(anchor) {}

    core::Point point() const { return m_point; }
    Anchor anchor() const { return m_anchor; }

private:
    core::Point m_point;
    Anchor m_anchor;
};

using ZMPosPtr = std::shared_ptr<const ZMPos>;

// An association of a key (a model object, or an old view) with a position.
template <class Key> struct Pair {
    Key key;
    ZMPosPtr value;
};

} // namespace zm
