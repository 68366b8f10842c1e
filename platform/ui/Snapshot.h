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

private:
    explicit SnapshotView(View& source);
};

} // namespace ui
