#include "platform/ui/Snapshot.h"

#include "platform/gfx/Image.h"
#include "platform/ui/Device.h"
#include "platform/ui/Renderer.h"

namespace ui {

std::shared_ptr<const gfx::Image> snapshotImage(View& view) {
    return snapshotImage(view, Device::current().scale);
}

std::shared_ptr<const gfx::Image> snapshotImage(View& view, float scale) {
    view.layoutIfNeeded();
    return Renderer::snapshot(view.layer(), scale);
}

std::shared_ptr<SnapshotView> SnapshotView::create(View& source) {
    return std::shared_ptr<SnapshotView>(new SnapshotView(source));
}

SnapshotView::SnapshotView(View& source)
    : View(source.frame()) {
    layer().setContents(snapshotImage(source));
}

} // namespace ui
