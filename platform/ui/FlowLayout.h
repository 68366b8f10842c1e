#pragma once

#include "platform/core/Geometry.h"
#include "platform/ui/EdgeInsets.h"
#include "platform/ui/IndexPath.h"

#include <functional>
#include <optional>
#include <vector>

namespace ui {

enum class ScrollDirection { Vertical, Horizontal };

// Places items one after another in lines: a horizontal flow fills columns from top to bottom and adds
// columns to the right; a vertical flow fills rows from left to right and adds rows downwards. A line
// with one item centres it across the flow; a line with several spreads them to both of its edges.
// Sections follow one another along the flow, each inside its insets.
struct FlowLayout {
    ScrollDirection scrollDirection = ScrollDirection::Vertical;
    core::Size itemSize{50, 50};
    // Between lines, and between the items of a line (at least).
    float minimumLineSpacing = 10;
    float minimumInteritemSpacing = 10;
    EdgeInsets sectionInset;

    struct Result {
        // Item frames by section, in content coordinates.
        std::vector<std::vector<core::Rect>> frames;
        core::Size contentSize;

        std::optional<core::Rect> frame(const IndexPath& indexPath) const;
    };

    // The layout of sections with `counts` items in a view of `viewSize`; `sizeOf` answers the size of
    // an item, when it differs from itemSize.
    Result layOut(const std::vector<int>& counts, core::Size viewSize,
                  const std::function<std::optional<core::Size>(const IndexPath&)>& sizeOf = {}) const;
};

} // namespace ui
