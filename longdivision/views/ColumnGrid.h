#pragma once

#include <cstdint>

namespace zm {

// The columns a long division is written in: those of the dividend's digits, extended to the left by
// whole column widths. Numbers aligned at a column ask it where that column's centre is.
class ColumnGrid {
public:
    virtual ~ColumnGrid() = default;

    // The x of the centre of `column` (0 is the dividend's first digit).
    virtual float getCenterXForColumn(int32_t column) const = 0;
};

} // namespace zm
