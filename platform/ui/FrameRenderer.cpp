#include "platform/ui/FrameRenderer.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/ui/Layer.h"

#include <cmath>
#include <memory>

namespace ui {

namespace {

// Pixels drawn around an area, beyond the reach of what a clip changes at its edge.
constexpr float kClipMargin = 2;
// At most this many areas are drawn apart in one frame; more are merged.
constexpr size_t kMaxAreas = 8;
// Drawing an area apart walks the tree once more: two areas are drawn as one when the box around both
// holds no more than their pixels and this many more.
constexpr float kAreaOverhead = 64 * 64;

bool isFinite(const core::Rect& rect) {
    return std::isfinite(rect.minX()) && std::isfinite(rect.minY()) && std::isfinite(rect.width()) &&
           std::isfinite(rect.height());
}

// The whole pixels that `rect` (in points) touches at `scale`; null for a rectangle that is not a number.
core::Rect pixelsOf(const core::Rect& rect, float scale) {
    const core::Rect scaled(rect.minX() * scale, rect.minY() * scale, rect.width() * scale, rect.height() * scale);
    return !rect.isNull() && isFinite(scaled) ? scaled.integral() : core::Rect::null();
}

// The whole pixels inside `rect` (in points) at `scale`; null when there are none.
core::Rect wholePixelsIn(const core::Rect& rect, float scale) {
    if (rect.isNull())
        return core::Rect::null();
    const float left = std::ceil(rect.minX() * scale);
    const float top = std::ceil(rect.minY() * scale);
    const float right = std::floor(rect.maxX() * scale);
    const float bottom = std::floor(rect.maxY() * scale);
    if (!(right > left && bottom > top) || !std::isfinite(right - left) || !std::isfinite(bottom - top))
        return core::Rect::null();
    return {left, top, right - left, bottom - top};
}

// Whether the transform only moves and stretches, without turning or mirroring.
bool keepsAxes(const core::AffineTransform& transform) {
    return transform.b == 0 && transform.c == 0 && transform.a > 0 && transform.d > 0;
}

// Whether the layer's tree is drawn into a picture of its own before it is put down (see LayerPainter).
bool composesApart(const Layer& layer, const LayerState& state) {
    return layer.mask() || layer.rasterizationScale() || (state.opacity < 1 && !layer.sublayers().empty());
}

float pixelCount(const core::Rect& rect) {
    return rect.isNull() ? 0 : rect.width() * rect.height();
}

// Takes the changes of a mask's tree: whether anything in it changed.
bool takeChangesOfTree(Layer& layer) {
    const Layer::Changes changes = layer.takeChanges();
    bool changed = changes.look || changes.subtree;
    for (const std::shared_ptr<Layer>& sublayer : layer.sublayers())
        changed = takeChangesOfTree(*sublayer) || changed;
    if (const std::shared_ptr<Layer>& mask = layer.mask())
        changed = takeChangesOfTree(*mask) || changed;
    return changed;
}

} // namespace

const std::vector<core::Rect>& FrameRenderer::render(Layer& root, gfx::Bitmap& frame, float scale) {
    ++m_frame;
    m_damage.clear();
    m_scale = scale;
    m_bounds = core::Rect(0, 0, float(frame.width()), float(frame.height()));
    const bool whole = &frame != m_lastBitmap || scale != m_lastScale;
    m_lastBitmap = &frame;
    m_lastScale = scale;

    m_order = 0;
    m_covers.clear();
    if (!root.isHidden()) {
        const LayerState state = root.presentation();
        note(root, state,
             {.toFrame = core::AffineTransform::makeTranslation(-state.bounds.origin.x, -state.bounds.origin.y),
              .clip = m_bounds,
              .wholeClip = m_bounds,
              .alpha = 1,
              .everythingChanged = whole,
              .composedApart = false});
    }
    // What the last frame showed and this one does not: taken away, hidden or faded out.
    std::erase_if(m_shown, [&](const auto& entry) {
        if (entry.second.frame == m_frame)
            return false;
        damage(entry.second.area);
        return true;
    });
    if (whole)
        m_damage.assign(1, m_bounds);

    for (const core::Rect& area : m_damage)
        repaint(root, frame, area);
    m_surfaces.endFrame();
    return m_damage;
}

// Cairo fills and strokes the pixels along the edge of a clip a step or two differently from the same
// pixels drawn without it. An area is therefore drawn with a margin around it, and the margin given back
// what it held: so the frame holds what drawing it whole would give.
void FrameRenderer::repaint(Layer& root, gfx::Bitmap& frame, const core::Rect& area) {
    const core::Rect drawn = area.insetBy(-kClipMargin, -kClipMargin).intersected(m_bounds);
    struct Strip {
        int x, y, width, height;
        std::unique_ptr<gfx::Bitmap> pixels;
    };
    const int left = int(drawn.minX());
    const int top = int(drawn.minY());
    const int right = int(drawn.maxX());
    const int bottom = int(drawn.maxY());
    Strip margin[] = {{left, top, right - left, int(area.minY()) - top, nullptr},
                      {left, int(area.maxY()), right - left, bottom - int(area.maxY()), nullptr},
                      {left, int(area.minY()), int(area.minX()) - left, int(area.height()), nullptr},
                      {int(area.maxX()), int(area.minY()), right - int(area.maxX()), int(area.height()), nullptr}};
    for (Strip& strip : margin) {
        if (strip.width > 0 && strip.height > 0)
            strip.pixels = frame.copy(strip.x, strip.y, strip.width, strip.height);
    }
    // Under a cover nothing needs drawing, nor clearing: it hides the area whole, and the margin is given
    // back what it held anyway.
    const Layer* cover = coverOf(area);
    if (!cover)
        frame.clear(left, top, right - left, bottom - top);
    {
        gfx::Canvas canvas(frame, m_scale);
        canvas.clipToRect({drawn.minX() / m_scale, drawn.minY() / m_scale, drawn.width() / m_scale,
                           drawn.height() / m_scale});
        detail::LayerPainter(canvas, &m_surfaces, this, drawn).paintRoot(root, cover);
    }
    for (const Strip& strip : margin) {
        if (strip.pixels)
            frame.copyPixels(*strip.pixels, 0, 0, strip.width, strip.height, strip.x, strip.y);
    }
}

core::Rect FrameRenderer::note(Layer& layer, const LayerState& state, const Reach& reach) {
    if (state.opacity < detail::kInvisibleOpacity)
        return core::Rect::null();
    const Layer::Changes changes = layer.takeChanges();
    const bool maskChanged = layer.mask() && takeChangesOfTree(*layer.mask());
    const bool everythingChanged = reach.everythingChanged || changes.subtree || maskChanged;
    const float alpha = reach.alpha * state.opacity;
    const core::AffineTransform& toFrame = reach.toFrame;
    const core::Rect area = pixelsOf(toFrame.apply(layer.drawingExtents()), m_scale).intersected(reach.clip);

    Shown& shown = m_shown[&layer]; // stays in place while the map grows
    if (shown.frame != m_frame - 1) {
        damage(area); // it comes into sight
    } else if (everythingChanged || changes.look || shown.toFrame != toFrame || shown.clip != reach.clip ||
               shown.alpha != alpha) {
        damage(shown.area);
        damage(area);
    }
    shown.frame = m_frame;
    shown.toFrame = toFrame;
    shown.clip = reach.clip;
    shown.alpha = alpha;
    shown.area = area;
    noteCover(layer, state, reach);

    Reach sublayerReach = reach;
    sublayerReach.alpha = alpha;
    sublayerReach.everythingChanged = everythingChanged;
    sublayerReach.composedApart = reach.composedApart || composesApart(layer, state);
    if (layer.masksToBounds()) {
        const core::Rect bounds = toFrame.apply(state.bounds);
        sublayerReach.clip = reach.clip.intersected(pixelsOf(bounds, m_scale));
        sublayerReach.wholeClip =
            keepsAxes(toFrame) ? reach.wholeClip.intersected(wholePixelsIn(bounds, m_scale)) : core::Rect::null();
    }
    core::Rect treeArea = area;
    for (const std::shared_ptr<Layer>& sublayer : layer.sublayers()) {
        if (sublayer->isHidden())
            continue;
        const LayerState substate = sublayer->presentation();
        sublayerReach.toFrame = core::AffineTransform::concat(substate.toSuperlayer(), toFrame);
        treeArea = treeArea.united(note(*sublayer, substate, sublayerReach));
    }
    shown.treeArea = treeArea;
    return treeArea;
}

void FrameRenderer::noteCover(Layer& layer, const LayerState& state, const Reach& reach) {
    const std::uint64_t order = ++m_order;
    if (reach.composedApart || composesApart(layer, state) || reach.alpha * state.opacity < 1 ||
        !keepsAxes(reach.toFrame))
        return;
    // Its background, or a drawing that is opaque throughout, fills the bounds: every pixel wholly inside
    // them is the layer's own.
    if (!(state.backgroundColor.alpha() >= 1) && !layer.drawsOpaque(m_scale))
        return;
    const core::Rect pixels =
        wholePixelsIn(reach.toFrame.apply(state.bounds), m_scale).intersected(reach.wholeClip);
    if (!pixels.isEmpty())
        m_covers.push_back({order, pixels, &layer});
}

const Layer* FrameRenderer::coverOf(const core::Rect& area) const {
    // The covers come in the order they are drawn: the last one that holds the area hides all the others.
    for (auto cover = m_covers.rbegin(); cover != m_covers.rend(); ++cover) {
        if (cover->pixels.contains(area))
            return cover->layer;
    }
    return nullptr;
}

void FrameRenderer::damage(const core::Rect& area) {
    core::Rect merged = area.intersected(m_bounds);
    if (merged.isEmpty())
        return;
    // Whatever it meets to little waste joins it, until nothing more does.
    for (size_t i = 0; i < m_damage.size();) {
        const core::Rect& other = m_damage[i];
        if (other.contains(merged))
            return;
        const core::Rect both = merged.united(other);
        if (pixelCount(both) <= pixelCount(merged) + pixelCount(other) + kAreaOverhead) {
            merged = both;
            m_damage.erase(m_damage.begin() + std::ptrdiff_t(i));
            i = 0;
        } else {
            ++i;
        }
    }
    m_damage.push_back(merged);
    if (m_damage.size() > kMaxAreas)
        mergeDamage();
}

void FrameRenderer::mergeDamage() {
    // The two areas whose box adds the fewest pixels become one.
    size_t first = 0;
    size_t second = 1;
    float leastWaste = INFINITY;
    for (size_t i = 0; i < m_damage.size(); ++i) {
        for (size_t j = i + 1; j < m_damage.size(); ++j) {
            const float waste =
                pixelCount(m_damage[i].united(m_damage[j])) - pixelCount(m_damage[i]) - pixelCount(m_damage[j]);
            if (waste < leastWaste) {
                leastWaste = waste;
                first = i;
                second = j;
            }
        }
    }
    const core::Rect both = m_damage[first].united(m_damage[second]);
    m_damage.erase(m_damage.begin() + std::ptrdiff_t(second));
    m_damage.erase(m_damage.begin() + std::ptrdiff_t(first));
    damage(both);
}

const core::Rect* FrameRenderer::areaOf(const Layer& layer) const {
    const auto found = m_shown.find(&layer);
    return found != m_shown.end() && found->second.frame == m_frame ? &found->second.treeArea : nullptr;
}

} // namespace ui
