#pragma once

#include "platform/core/Geometry.h"
#include "platform/ui/LayerPainter.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace gfx {
class Bitmap;
}

namespace ui {

class Layer;
struct LayerState;

// Draws a layer tree into the frames of a screen, one after the other in the same bitmap, each time
// again only where something changed since the frame before: where a layer that changed, moved, came
// or went shows now and showed then. What shows elsewhere is left as the last frame drew it, so that a
// layer changing alone costs its own area and what overlaps it, not the screen.
//
// Main thread only.
class FrameRenderer : private detail::LayerAreas {
public:
    FrameRenderer() = default;
    FrameRenderer(const FrameRenderer&) = delete;
    FrameRenderer& operator=(const FrameRenderer&) = delete;

    // Draws the next frame of `root` (its bounds filling the bitmap from the top-left corner) at `scale`
    // pixels per point, and answers the areas drawn again, in pixels (none when nothing changed). The
    // first frame, and a frame in another bitmap or at another scale than the last, is drawn whole.
    const std::vector<core::Rect>& render(Layer& root, gfx::Bitmap& frame, float scale);

    // The bytes of the pictures kept for the next frame: those of the translucent groups this frame drew.
    std::int64_t keptBytes() const { return m_surfaces.keptBytes(); }

private:
    // What a layer looked like in the last frame drawn.
    struct Shown {
        std::uint64_t frame = 0;   // the frame it was last shown in
        core::AffineTransform toFrame; // from its bounds' coordinates to the frame's points
        core::Rect clip;               // what its superlayers let show of it, in pixels
        float alpha = 0;               // its opacity with its superlayers'
        core::Rect area;               // where it draws itself, in whole pixels
        core::Rect treeArea;           // the same with its sublayers
    };

    // How the walk reaches a layer: through what its superlayers do to it.
    struct Reach {
        core::AffineTransform toFrame; // from its bounds' coordinates to the frame's points
        core::Rect clip;               // what its superlayers let show of it, in pixels
        core::Rect wholeClip;          // the pixels they let show whole (none cut by a clip's edge)
        float alpha = 1;               // their opacity
        bool everythingChanged = false;
        bool composedApart = false;    // drawn into a picture of a superlayer's, not straight into the frame
    };
    // A layer that hides whatever was drawn before it over `pixels`: its opaque look drawn straight into
    // the frame. `order` counts the layers in the order they are drawn.
    struct Cover {
        std::uint64_t order;
        core::Rect pixels;
        const Layer* layer;
    };

    // Walks the tree as it shows now, notes where it changed, and answers where it shows, in pixels.
    core::Rect note(Layer& layer, const LayerState& state, const Reach& reach);
    // Notes the layer as a cover when its look hides what lies under it.
    void noteCover(Layer& layer, const LayerState& state, const Reach& reach);
    // The last drawn layer that hides all of `area` (in pixels); nullptr when none does.
    const Layer* coverOf(const core::Rect& area) const;
    // Draws `area` (in pixels) of the frame again.
    void repaint(Layer& root, gfx::Bitmap& frame, const core::Rect& area);
    // Adds an area (in pixels) to be drawn again, joined with those it overlaps to little waste.
    void damage(const core::Rect& area);
    // Joins the two areas that waste the fewest pixels together.
    void mergeDamage();
    const core::Rect* areaOf(const Layer& layer) const override;

    std::unordered_map<const Layer*, Shown> m_shown;
    std::uint64_t m_frame = 1; // 0 marks a layer never shown
    const gfx::Bitmap* m_lastBitmap = nullptr;
    float m_lastScale = 0;
    float m_scale = 1;
    core::Rect m_bounds; // the frame, in pixels
    std::vector<core::Rect> m_damage;
    std::uint64_t m_order = 0; // layers walked in this frame
    std::vector<Cover> m_covers;
    detail::SurfacePool m_surfaces;
};

} // namespace ui
