#include "platform/ui/LayerPainter.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/ImageContext.h"
#include "platform/ui/Layer.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace ui::detail {

namespace {

// Where a layer and its visible sublayers draw, in the layer's bounds' coordinates.
core::Rect extentsOf(Layer& layer, const LayerState& state) {
    if (layer.masksToBounds())
        return state.bounds;
    core::Rect extents = layer.drawingExtents().united(state.bounds);
    for (const std::shared_ptr<Layer>& sublayer : layer.sublayers()) {
        if (sublayer->isHidden())
            continue;
        const LayerState substate = sublayer->presentation();
        extents = extents.united(substate.toSuperlayer().apply(extentsOf(*sublayer, substate)));
    }
    return extents;
}

// Pixel-aligned box of `rect` (in the canvas's base points).
core::Rect alignedToPixels(const core::Rect& rect, float scale) {
    const core::Rect pixels =
        core::Rect(rect.minX() * scale, rect.minY() * scale, rect.width() * scale, rect.height() * scale)
            .integral();
    return {pixels.minX() / scale, pixels.minY() / scale, pixels.width() / scale, pixels.height() / scale};
}

// Puts a layer's drawing down over its bounds: only the painted part of it, since a label's picture is as
// large as the label and mostly empty, and every pixel put down costs.
void drawPainted(gfx::Canvas& canvas, const gfx::Image& drawing, const core::Rect& painted,
                 const core::Rect& bounds) {
    const auto width = float(drawing.pixelWidth());
    const auto height = float(drawing.pixelHeight());
    if (painted.width() >= width && painted.height() >= height) {
        canvas.drawImage(drawing, bounds);
        return;
    }
    // A pixel more around it, for the smoothing of a stretched picture.
    const float sx = bounds.width() / width;
    const float sy = bounds.height() / height;
    canvas.save();
    canvas.clipToRect({bounds.minX() + (painted.minX() - 1) * sx, bounds.minY() + (painted.minY() - 1) * sy,
                       (painted.width() + 2) * sx, (painted.height() + 2) * sy});
    canvas.drawImage(drawing, bounds);
    canvas.restore();
}

} // namespace

std::shared_ptr<gfx::Bitmap> SurfacePool::take(int width, int height) {
    for (Kept& kept : m_kept) {
        if (!kept.used && kept.bitmap->width() == width && kept.bitmap->height() == height) {
            kept.used = true;
            kept.bitmap->clear(0, 0, width, height);
            return kept.bitmap;
        }
    }
    std::shared_ptr<gfx::Bitmap> bitmap = gfx::Bitmap::create(width, height);
    if (bitmap)
        m_kept.push_back({bitmap, true});
    return bitmap;
}

std::shared_ptr<gfx::Bitmap> SurfacePool::takeAtLeast(int width, int height) {
    Kept* best = nullptr;
    for (Kept& kept : m_kept) {
        const gfx::Bitmap& bitmap = *kept.bitmap;
        if (!kept.used && bitmap.width() >= width && bitmap.height() >= height &&
            (!best || std::int64_t{bitmap.width()} * bitmap.height() <
                          std::int64_t{best->bitmap->width()} * best->bitmap->height()))
            best = &kept;
    }
    if (best) {
        best->used = true;
        best->bitmap->clear(0, 0, width, height);
        return best->bitmap;
    }
    // The group outgrew the picture it took the frame before (the largest of those left): that one goes
    // before a larger one is made, so that a screen zooming in never holds both.
    const auto outgrown = std::ranges::max_element(m_kept, {}, [](const Kept& kept) {
        return kept.used ? -1 : std::int64_t{kept.bitmap->width()} * kept.bitmap->height();
    });
    if (outgrown != m_kept.end() && !outgrown->used)
        m_kept.erase(outgrown);
    // Steps of a half and a third: 256, 384, 512, 768, 1024, 1536, 2048...
    auto roundedUp = [](int length) {
        const int power = int(std::bit_ceil(unsigned(std::max(length, 1))));
        return std::max(length, length <= power / 4 * 3 ? power / 4 * 3 : power);
    };
    std::shared_ptr<gfx::Bitmap> bitmap = gfx::Bitmap::create(roundedUp(width), roundedUp(height));
    if (!bitmap)
        return take(width, height);
    m_kept.push_back({bitmap, true});
    return bitmap;
}

void SurfacePool::endFrame() {
    std::erase_if(m_kept, [](const Kept& kept) { return !kept.used; });
    for (Kept& kept : m_kept)
        kept.used = false;
}

std::int64_t SurfacePool::keptBytes() const {
    std::int64_t bytes = 0;
    for (const Kept& kept : m_kept)
        bytes += std::int64_t{kept.bitmap->bytesPerRow()} * kept.bitmap->height();
    return bytes;
}

LayerPainter::LayerPainter(gfx::Canvas& canvas, SurfacePool* pool, const LayerAreas* areas,
                           const core::Rect& onlyIn, core::Point origin)
    : m_canvas(canvas)
    , m_pool(pool)
    , m_areas(areas)
    , m_onlyIn(onlyIn)
    , m_origin(origin) {}

void LayerPainter::paintRoot(Layer& root, const Layer* cover) {
    if (root.isHidden() || isOutside(root))
        return;
    for (const Layer* layer = cover; layer; layer = layer->superlayer())
        m_coverAndAbove.push_back(layer);
    const LayerState state = root.presentation();
    m_canvas.save();
    m_canvas.translate(-state.bounds.origin.x, -state.bounds.origin.y);
    paintTree(root, state, m_canvas);
    m_canvas.restore();
}

bool LayerPainter::isOutside(const Layer& layer) const {
    if (!m_areas)
        return false;
    const core::Rect* area = m_areas->areaOf(layer);
    return area && area->intersected(m_onlyIn).isEmpty();
}

bool LayerPainter::isCovered(const Layer& layer) const {
    return !m_coverAndAbove.empty() && std::find(m_coverAndAbove.begin(), m_coverAndAbove.end(), &layer) ==
                                           m_coverAndAbove.end();
}

void LayerPainter::paintLayer(Layer& layer, gfx::Canvas& canvas) {
    if (layer.isHidden() || isOutside(layer) || isCovered(layer))
        return;
    const LayerState state = layer.presentation();
    canvas.save();
    canvas.concat(state.toSuperlayer());
    paintTree(layer, state, canvas);
    canvas.restore();
}

void LayerPainter::paintTree(Layer& layer, const LayerState& state, gfx::Canvas& canvas) {
    if (state.opacity < kInvisibleOpacity)
        return;
    const bool grouped =
        layer.mask() || layer.rasterizationScale() || (state.opacity < 1 && !layer.sublayers().empty());
    if (grouped)
        paintGroup(layer, state, canvas);
    else
        paintBody(layer, state, canvas, state.opacity);
}

// The layer's own look and its sublayers, in its bounds' coordinates; `alpha` for what it draws itself.
void LayerPainter::paintBody(Layer& layer, const LayerState& state, gfx::Canvas& canvas, float alpha) {
    if (layer.masksToBounds())
        canvas.clipToRect(state.bounds);
    if (!m_coverAndAbove.empty()) {
        // A superlayer of the cover draws only its sublayers; the cover itself draws as always, and
        // from there on everything does.
        const bool isCover = m_coverAndAbove.front() == &layer;
        if (isCover)
            m_coverAndAbove.clear();
        else
            return paintSublayers(layer, canvas);
    }
    canvas.setAlpha(alpha);
    if (state.backgroundColor.alpha() > 0) {
        canvas.setFillColor(state.backgroundColor);
        canvas.fillRect(state.bounds);
    }
    if (const auto& contents = layer.contents())
        canvas.drawImage(*contents, state.bounds);
    if (const auto& drawing = layer.drawing(canvas.scale()))
        drawPainted(canvas, *drawing, layer.drawingPaintedBounds(), state.bounds);
    layer.drawContent(canvas);
    canvas.setAlpha(1);
    paintSublayers(layer, canvas);
}

void LayerPainter::paintSublayers(Layer& layer, gfx::Canvas& canvas) {
    for (const std::shared_ptr<Layer>& sublayer : std::vector<std::shared_ptr<Layer>>(layer.sublayers()))
        paintLayer(*sublayer, canvas);
}

core::Rect LayerPainter::extentsInBase(Layer& layer, const LayerState& state, const gfx::Canvas& canvas) const {
    if (const core::Rect* area = m_areas ? m_areas->areaOf(layer) : nullptr) {
        const float scale = m_canvas.scale();
        return core::Rect(area->minX() / scale - m_origin.x, area->minY() / scale - m_origin.y,
                          area->width() / scale, area->height() / scale);
    }
    return canvas.transform().apply(extentsOf(layer, state));
}

std::shared_ptr<gfx::Bitmap> LayerPainter::surface(int width, int height, bool atLeast) {
    if (!m_pool)
        return gfx::Bitmap::create(width, height);
    return atLeast ? m_pool->takeAtLeast(width, height) : m_pool->take(width, height);
}

// Draws the layer's tree into a picture of its own first, then puts that down at the layer's opacity, so
// that overlapping sublayers fade as one and a mask cuts them all; the picture has the layer's own
// resolution when it sets one. The picture covers only what shows of the tree, unless it is stretched
// from a resolution of its own, whose smoothing takes the pixels around.
void LayerPainter::paintGroup(Layer& layer, const LayerState& state, gfx::Canvas& canvas) {
    const core::AffineTransform toBase = canvas.transform();
    const core::Rect extents = extentsInBase(layer, state, canvas);
    const bool ownResolution = layer.rasterizationScale().has_value();
    const core::Rect shown = ownResolution && m_areas && m_areas->areaOf(layer)
                                 ? extents
                                 : extents.intersected(toBase.apply(canvas.clipBounds()));
    const core::Rect box = alignedToPixels(shown, canvas.scale());
    if (box.isEmpty())
        return;

    const float scale = layer.rasterizationScale().value_or(canvas.scale());
    const int width = gfx::pixelLength(box.width(), scale);
    const int height = gfx::pixelLength(box.height(), scale);
    auto pictureSize = [&](const gfx::Bitmap& picture) {
        return ownResolution ? box.size : core::Size{float(picture.width()) / scale, float(picture.height()) / scale};
    };
    // A picture put down pixel for pixel may be larger than the box: only its top-left part is drawn and
    // shown. One stretched from a resolution of its own is exactly the box, its edges smoothed as its own.
    auto offscreen = [&](auto&& draw) {
        std::shared_ptr<gfx::Bitmap> bitmap =
            width > 0 && height > 0 ? surface(width, height, !ownResolution) : nullptr;
        if (!bitmap)
            return bitmap;
        gfx::Canvas group(*bitmap, scale);
        group.translate(-box.minX(), -box.minY());
        group.clipToRect(box);
        group.concat(toBase);
        const core::Point origin = m_origin;
        m_origin = {origin.x + box.minX(), origin.y + box.minY()};
        draw(group);
        m_origin = origin;
        return bitmap;
    };
    const std::shared_ptr<gfx::Bitmap> picture =
        offscreen([&](gfx::Canvas& group) { paintBody(layer, state, group, 1); });
    if (!picture)
        return;
    if (const std::shared_ptr<Layer>& mask = layer.mask()) {
        // What the mask covers keeps the picture, by its alpha.
        if (const std::shared_ptr<gfx::Bitmap> coverage =
                offscreen([&](gfx::Canvas& group) { paintLayer(*mask, group); })) {
            gfx::Canvas masked(*picture, scale);
            masked.setBlendMode(gfx::BlendMode::DestinationIn);
            masked.drawImage(gfx::Image(coverage, scale), {{}, pictureSize(*coverage)});
        } else {
            return;
        }
    }
    canvas.save();
    canvas.concat(toBase.inverted());
    canvas.clipToRect(box);
    canvas.setAlpha(state.opacity);
    canvas.drawImage(gfx::Image(picture, scale), {box.origin, pictureSize(*picture)});
    canvas.restore();
}

} // namespace ui::detail
