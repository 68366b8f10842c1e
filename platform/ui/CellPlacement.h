#pragma once

#include "platform/ui/View.h"

namespace ui {

// Puts a cell of a collection or table view on its frame by centre and size, so that a cell that is
// scaled or moving (a highlight, an update) keeps its transform.
inline void placeCell(View& cell, const core::Rect& frame) {
    cell.setBounds({cell.bounds().origin, frame.size});
    cell.setCenter({frame.midX(), frame.midY()});
}

} // namespace ui
