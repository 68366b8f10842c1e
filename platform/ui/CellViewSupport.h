#pragma once

// What collection and table views share in placing their cells and following the finger on them.

#include "platform/ui/Touch.h"
#include "platform/ui/View.h"

namespace ui {

// Puts a cell on its frame by centre and size, so that a cell that is scaled or moving (a highlight, an
// update) keeps its transform.
inline void placeCell(View& cell, const core::Rect& frame) {
    cell.setBounds({cell.bounds().origin, frame.size});
    cell.setCenter({frame.midX(), frame.midY()});
}

// Whether a cell's frame shows in the visible area (touching edges do not count).
inline bool isInSight(const core::Rect& frame, const core::Rect& visible) {
    return !frame.intersected(visible).isEmpty();
}

// Whether `touches` carry the tracked finger.
inline bool carries(const TouchSet& touches, const Touch* tracked) {
    if (!tracked)
        return false;
    for (const std::shared_ptr<Touch>& touch : touches) {
        if (touch.get() == tracked)
            return true;
    }
    return false;
}

} // namespace ui
