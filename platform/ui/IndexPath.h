#pragma once

#include <compare>

namespace ui {

// An item of a collection view or a row of a table view: its section and its place in the section.
struct IndexPath {
    int section = 0;
    int item = 0;

    // Tables call the item a row.
    int row() const { return item; }

    friend auto operator<=>(const IndexPath&, const IndexPath&) = default;
};

} // namespace ui
