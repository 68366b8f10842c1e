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

    if (!root.isHidden()) {
        const LayerState state = root.presentation();
        note(root, state,
             core::AffineTransform::makeTranslation(-state.bounds.origin.x, -state.bounds.origin.y), m_bounds,
             1, whole);
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
    frame.clear(left, top, right - left, bottom - top);
    {
        gfx::Canvas canvas(frame, m_scale);
        canvas.clipToRect({drawn.minX() / m_scale, drawn.minY() / m_scale, drawn.width() / m_scale,
                           drawn.height() / m_scale});
        detail::LayerPainter(canvas, &m_surfaces, this, drawn).paintRoot(root);
    }
    for (const Strip& strip : margin) {
        if (strip.pixels)
            frame.copyPixels(*strip.pixels, 0, 0, strip.width, strip.height, strip.x, strip.y);
    }
}

core::Rect FrameRenderer::note(Layer& layer, const LayerState& state, const core::AffineTransform& toFrame,
                               const core::Rect& clip, float alpha, bool everythingChanged) {
    if (state.opacity < detail::kInvisibleOpacity)
        return core::Rect::null();
    const Layer::Changes changes = layer.takeChanges();
    const bool maskChanged = layer.mask() && takeChangesOfTree(*layer.mask());
    everythingChanged = everythingChanged || changes.subtree || maskChanged;
    alpha *= state.opacity;
    const core::Rect area = pixelsOf(toFrame.apply(layer.drawingExtents()), m_scale).intersected(clip);

    Shown& shown = m_shown[&layer]; // stays in place while the map grows
    if (shown.frame != m_frame - 1) {
        damage(area); // it comes into sight
    } else if (everythingChanged || changes.look || shown.toFrame != toFrame || shown.clip != clip ||
               shown.alpha != alpha) {
        damage(shown.area);
        damage(area);
    }
    shown.frame = m_frame;
    shown.toFrame = toFrame;
    shown.clip = clip;
    shown.alpha = alpha;
    shown.area = area;

    const core::Rect sublayerClip =
        layer.masksToBounds() ? clip.intersected(pixelsOf(toFrame.apply(state.bounds), m_scale)) : clip;
    core::Rect treeArea = area;
    for (const std::shared_ptr<Layer>& sublayer : layer.sublayers()) {
        if (sublayer->isHidden())
            continue;
        const LayerState substate = sublayer->presentation();
        const core::AffineTransform toFrameOfSublayer =
            core::AffineTransform::concat(substate.toSuperlayer(), toFrame);
        treeArea = treeArea.united(
            note(*sublayer, substate, toFrameOfSublayer, sublayerClip, alpha, everythingChanged));
    }
    shown.treeArea = treeArea;
    return treeArea;
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
