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

void SnapshotView::keepOnly(const core::Rect& part) {
    const std::shared_ptr<const gfx::Image> picture = layer().contents();
    const core::Rect shown = bounds();
    if (!picture || shown.isEmpty())
        return;
    if (part.isNull()) {
        layer().setContents(nullptr);
        return;
    }
    // The picture's pixels per point, as it is stretched over the bounds.
    const float sx = float(picture->pixelWidth()) / shown.width();
    const float sy = float(picture->pixelHeight()) / shown.height();
    const core::Rect pixels =
        core::Rect((part.minX() - shown.minX()) * sx, (part.minY() - shown.minY()) * sy, part.width() * sx,
                   part.height() * sy)
            .integral()
            .insetBy(-1, -1)
            .intersected({0, 0, float(picture->pixelWidth()), float(picture->pixelHeight())});
    if (pixels.isEmpty()) {
        layer().setContents(nullptr);
        return;
    }
    if (pixels.width() == float(picture->pixelWidth()) && pixels.height() == float(picture->pixelHeight()))
        return;
    // The bounds become the part kept, in the same coordinates; the anchor stays at the same point of them,
    // so the layer's position and transform put every point where they did.
    const core::Rect kept(shown.minX() + pixels.minX() / sx, shown.minY() + pixels.minY() / sy,
                          pixels.width() / sx, pixels.height() / sy);
    const core::Point anchor = layer().anchorPoint();
    const core::Point pivot{shown.minX() + anchor.x * shown.width(),
                            shown.minY() + anchor.y * shown.height()};
    layer().setContents(picture->cropped(pixels));
    layer().setAnchorPoint({(pivot.x - kept.minX()) / kept.width(), (pivot.y - kept.minY()) / kept.height()});
    setBounds(kept);
}

} // namespace ui
