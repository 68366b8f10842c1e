#pragma once

#include "platform/ui/View.h"

#include <memory>

namespace gfx {
class Image;
}

namespace ui {

// A picture of `view` and its subviews as the screen shows them now, the size of its bounds, at the
// device's scale.
std::shared_ptr<const gfx::Image> snapshotImage(View& view);
// The same picture at `scale` pixels per point.
std::shared_ptr<const gfx::Image> snapshotImage(View& view, float scale);

// A view that shows a still picture of another view, taken when it is made. It takes the other view's
// frame, so that put in the same superview it covers the original exactly.
class SnapshotView : public View {
public:
    static std::shared_ptr<SnapshotView> create(View& source);

    // Lets go of the picture outside `part` (in the bounds' coordinates; whole pixels of it, and one more
    // around them for the smoothing, are kept): what shows of it inside stays where it is, drawn from the
    // same pixels (placed from the part's own corner: within a step of rounding), and nothing shows
    // outside. For a snapshot that grows past the edges of the screen, whose picture would otherwise be
    // held whole to the end.
    void keepOnly(const core::Rect& part);

private:
    explicit SnapshotView(View& source);
};

} // namespace ui
