#include "platform/ui/Renderer.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/ImageContext.h"
#include "platform/ui/Layer.h"

#include <cmath>
#include <utility>

namespace ui {

namespace {

// Below this opacity nothing of a layer shows in 8-bit colour.
constexpr float invisible = 0.5f / 255;

void renderLayer(Layer& layer, gfx::Canvas& canvas);

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

// Puts the layer's drawing down over its bounds: only the painted part of it, since a label's picture
// is as large as the label and mostly empty, and every pixel put down costs.
void drawPainted(gfx::Canvas& canvas, const gfx::Image& drawing, const core::Rect& painted, const core::Rect& bounds) {
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

// The layer's own look and its sublayers, in its bounds' coordinates; `alpha` for what it draws itself.
void renderBody(Layer& layer, const LayerState& state, gfx::Canvas& canvas, float alpha) {
    if (layer.masksToBounds())
        canvas.clipToRect(state.bounds);
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
    for (const std::shared_ptr<Layer>& sublayer : std::vector<std::shared_ptr<Layer>>(layer.sublayers()))
        renderLayer(*sublayer, canvas);
}

// Pixel-aligned box of `rect` (in the canvas's base points).
core::Rect alignedToPixels(const core::Rect& rect, float scale) {
    const core::Rect pixels =
        core::Rect(rect.minX() * scale, rect.minY() * scale, rect.width() * scale, rect.height() * scale)
            .integral();
    return {pixels.minX() / scale, pixels.minY() / scale, pixels.width() / scale, pixels.height() / scale};
}

// Draws the layer's tree into a picture of its own first, then puts that down at the layer's opacity,
// so that overlapping sublayers fade as one and a mask cuts them all; the picture has the layer's own
// resolution when it sets one.
void renderGroup(Layer& layer, const LayerState& state, gfx::Canvas& canvas) {
    const core::AffineTransform toBase = canvas.transform();
    const core::Rect visible = toBase.apply(canvas.clipBounds());
    const core::Rect box =
        alignedToPixels(toBase.apply(extentsOf(layer, state)).intersected(visible), canvas.scale());
    if (box.isEmpty())
        return;

    const float scale = layer.rasterizationScale().value_or(canvas.scale());
    auto offscreen = [&](auto&& draw) {
        gfx::ImageContext context(box.size, scale);
        context.canvas().translate(-box.minX(), -box.minY());
        context.canvas().concat(toBase);
        draw(context.canvas());
        return std::move(context).takeImage();
    };
    std::shared_ptr<const gfx::Image> picture =
        offscreen([&](gfx::Canvas& group) { renderBody(layer, state, group, 1); });
    if (!picture)
        return;
    if (const std::shared_ptr<Layer>& mask = layer.mask()) {
        std::shared_ptr<const gfx::Image> coverage =
            offscreen([&](gfx::Canvas& group) { renderLayer(*mask, group); });
        gfx::ImageContext masked(box.size, scale);
        masked.canvas().drawImage(*picture, {{}, box.size});
        if (coverage) {
            masked.canvas().setBlendMode(gfx::BlendMode::DestinationIn);
            masked.canvas().drawImage(*coverage, {{}, box.size});
        }
        picture = std::move(masked).takeImage();
    }
    canvas.save();
    canvas.concat(toBase.inverted());
    canvas.setAlpha(state.opacity);
    canvas.drawImage(*picture, box);
    canvas.restore();
}

void renderTree(Layer& layer, const LayerState& state, gfx::Canvas& canvas) {
    if (state.opacity < invisible)
        return;
    const bool grouped =
        layer.mask() || layer.rasterizationScale() || (state.opacity < 1 && !layer.sublayers().empty());
    if (grouped)
        renderGroup(layer, state, canvas);
    else
        renderBody(layer, state, canvas, state.opacity);
}

void renderLayer(Layer& layer, gfx::Canvas& canvas) {
    if (layer.isHidden())
        return;
    const LayerState state = layer.presentation();
    canvas.save();
    canvas.concat(state.toSuperlayer());
    renderTree(layer, state, canvas);
    canvas.restore();
}

} // namespace

void Renderer::render(Layer& root, gfx::Canvas& canvas) {
    if (root.isHidden())
        return;
    const LayerState state = root.presentation();
    canvas.save();
    canvas.translate(-state.bounds.origin.x, -state.bounds.origin.y);
    renderTree(root, state, canvas);
    canvas.restore();
}

std::shared_ptr<const gfx::Image> Renderer::snapshot(Layer& root, float scale) {
    gfx::ImageContext context(root.bounds().size, scale);
    render(root, context.canvas());
    return std::move(context).takeImage();
}

} // namespace ui
