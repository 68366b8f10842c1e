#pragma once

// Internal to platform/ui: how a layer tree is put down on a canvas, for the renderers of this folder.

#include "platform/core/Geometry.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace gfx {
class Bitmap;
class Canvas;
} // namespace gfx

namespace ui {

class Layer;
struct LayerState;

namespace detail {

// Below this opacity nothing of a layer shows in 8-bit colour.
inline constexpr float kInvisibleOpacity = 0.5f / 255;

// Bitmaps for the pictures composed apart (translucent groups, masks), kept from one frame to the next:
// a group that shows on every frame then takes no fresh memory each time. What a frame does not use is
// let go at its end, so the pool never holds more than one frame's worth.
class SurfacePool {
public:
    // A bitmap of that size, one kept from the frame before when there is one, transparent; nullptr when
    // the size passes the bitmap limits.
    std::shared_ptr<gfx::Bitmap> take(int width, int height);
    // A bitmap at least that large, transparent over that size. A group that grows from frame to frame
    // (a screen zooming in) then takes fresh memory only now and then: a new one is made somewhat larger.
    std::shared_ptr<gfx::Bitmap> takeAtLeast(int width, int height);
    void endFrame();
    // The bytes of the pixels it keeps.
    std::int64_t keptBytes() const;

private:
    struct Kept {
        std::shared_ptr<gfx::Bitmap> bitmap;
        bool used;
    };
    std::vector<Kept> m_kept;
};

// What a painter may know of the tree beforehand: where each layer shows with its sublayers, in whole
// pixels of the frame (see FrameRenderer).
class LayerAreas {
public:
    virtual ~LayerAreas() = default;
    // nullptr when the layer is not known.
    virtual const core::Rect* areaOf(const Layer& layer) const = 0;
};

// Puts a layer tree down with what is on screen now (its presentation). With known areas (in pixels of a
// frame whose points are `origin` away from those of the canvas), only the layers that reach `onlyIn`
// (in the same pixels) are drawn.
class LayerPainter {
public:
    explicit LayerPainter(gfx::Canvas& canvas, SurfacePool* pool = nullptr, const LayerAreas* areas = nullptr,
                          const core::Rect& onlyIn = core::Rect::null(), core::Point origin = {});

    // The root's bounds fill the canvas from its top-left corner (the root's own position and transform
    // are not applied). With a `cover` (a layer of the tree whose look hides everything drawn before it
    // where the canvas draws), what lies under it is left out.
    void paintRoot(Layer& root, const Layer* cover = nullptr);

private:
    void paintLayer(Layer& layer, gfx::Canvas& canvas);
    void paintTree(Layer& layer, const LayerState& state, gfx::Canvas& canvas);
    void paintBody(Layer& layer, const LayerState& state, gfx::Canvas& canvas, float alpha);
    void paintSublayers(Layer& layer, gfx::Canvas& canvas);
    void paintGroup(Layer& layer, const LayerState& state, gfx::Canvas& canvas);
    // Where the layer and its sublayers draw, in the base points of the canvas being drawn on.
    core::Rect extentsInBase(Layer& layer, const LayerState& state, const gfx::Canvas& canvas) const;
    bool isOutside(const Layer& layer) const;
    // Whether the layer lies under the cover: drawn before it, and not one of its superlayers.
    bool isCovered(const Layer& layer) const;
    // A bitmap of that size, or with `atLeast`, one as large or larger (transparent over that size).
    std::shared_ptr<gfx::Bitmap> surface(int width, int height, bool atLeast = false);

    gfx::Canvas& m_canvas;
    SurfacePool* m_pool;
    const LayerAreas* m_areas;
    core::Rect m_onlyIn;
    // Where the base of the canvas being drawn on lies in the frame of the areas, in points.
    core::Point m_origin;
    // The cover and its superlayers, while it has not been drawn yet.
    std::vector<const Layer*> m_coverAndAbove;
};

} // namespace detail
} // namespace ui
