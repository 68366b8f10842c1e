#pragma once

#include "platform/ui/Animation.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gfx {
class Canvas;
class Image;
} // namespace gfx

namespace ui {

class AnimationGroup;

// What a layer looks like: either its model values (what the code set) or its presentation (what is on
// screen now, the model with the running animations applied).
struct LayerState {
    core::Rect bounds;
    core::Point position;                // where the anchor point sits, in the superlayer's space
    core::Point anchorPoint{0.5f, 0.5f}; // in shares of the bounds' size
    core::AffineTransform transform;     // applied about the anchor point
    float opacity = 1;
    core::Color backgroundColor; // clear by default

    // Maps the layer's own space (its bounds' coordinates) into its superlayer's.
    core::AffineTransform toSuperlayer() const;
    // The bounding box of the transformed bounds, in the superlayer's space.
    core::Rect frame() const;
};

// Draws a layer's content: the view that owns the layer.
class LayerDelegate {
public:
    virtual ~LayerDelegate() = default;
    // Draws in the layer's bounds' coordinates and answers whether it draws anything at all; the drawing
    // is kept until the layer needs display again.
    virtual bool drawLayer(gfx::Canvas& canvas) = 0;
};

// Told that something in a layer tree changed and the tree must be drawn again: the window at its root.
class LayerHost {
public:
    virtual ~LayerHost() = default;
    virtual void layerTreeChanged() = 0;
};

// A node of the tree that is drawn on screen: a rectangle with a transform, opacity, background colour,
// optional content (an image, or what its delegate draws, kept between frames) and sublayers. Every view
// has one; shape and gradient layers draw themselves. Its geometry and look can be animated (see
// Animation); a view's layer also animates inside view animation blocks.
//
// Main thread only.
class Layer : public std::enable_shared_from_this<Layer> {
public:
    static std::shared_ptr<Layer> create();
    virtual ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // Geometry and look: the model values.
    const LayerState& model() const { return m_model; }
    const core::Rect& bounds() const { return m_model.bounds; }
    void setBounds(const core::Rect& bounds);
    core::Point position() const { return m_model.position; }
    void setPosition(core::Point position);
    core::Point anchorPoint() const { return m_model.anchorPoint; }
    void setAnchorPoint(core::Point anchorPoint);
    const core::AffineTransform& transform() const { return m_model.transform; }
    void setTransform(const core::AffineTransform& transform);
    float opacity() const { return m_model.opacity; }
    void setOpacity(float opacity);
    const core::Color& backgroundColor() const { return m_model.backgroundColor; }
    void setBackgroundColor(const core::Color& color);
    core::Rect frame() const { return m_model.frame(); }
    // Moves and sizes the layer so that its frame becomes `frame`. Under a transform that scales
    // without turning, the bounds take the frame's size divided by the scale; under one that turns,
    // only the position follows and the bounds keep their size.
    void setFrame(const core::Rect& frame);
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);
    // Whether the content and sublayers are cut to the bounds.
    bool masksToBounds() const { return m_masksToBounds; }
    void setMasksToBounds(bool masks);
    // When set, the layer and its sublayers are drawn together into one picture of this many pixels
    // per point, which is then stretched into place. For large, soft content that changes every frame
    // (slowly turning rays): the frame then costs the fewer pixels. Unset (the default), the layer draws
    // at the screen's resolution.
    std::optional<float> rasterizationScale() const { return m_rasterizationScale; }
    void setRasterizationScale(std::optional<float> scale);

    // What is on screen now: the model with the running animations applied at the current time.
    LayerState presentation() const;
    AnimatableValue presentationValue(LayerProperty property) const;
    virtual AnimatableValue modelValue(LayerProperty property) const;

    // An image shown over the bounds, stretched to fill them (under the delegate's drawing).
    const std::shared_ptr<const gfx::Image>& contents() const { return m_contents; }
    void setContents(std::shared_ptr<const gfx::Image> image);

    // The delegate's drawing is kept and shown until the layer needs display again.
    LayerDelegate* delegate() const { return m_delegate; }
    void setDelegate(LayerDelegate* delegate);
    void setNeedsDisplay();
    bool needsDisplay() const { return m_needsDisplay; }
    // The delegate's drawing at `scale`, made now when the layer needs display; nullptr when there is
    // nothing to show.
    const std::shared_ptr<const gfx::Image>& drawing(float scale);
    // The part of that drawing that holds anything, in its pixels: where it must be put down.
    const core::Rect& drawingPaintedBounds() const { return m_drawingPaintedBounds; }
    // Whether the drawing kept for `scale` hides everything under the bounds (every pixel of it opaque);
    // false while the layer needs display.
    bool drawsOpaque(float scale) const;

    // The tree. A layer owns its sublayers (drawn in order, the last on top) and its mask; it points to
    // its superlayer without owning it.
    Layer* superlayer() const { return m_superlayer; }
    const std::vector<std::shared_ptr<Layer>>& sublayers() const { return m_sublayers; }
    // Appends on top; a layer in another tree leaves it first.
    void addSublayer(std::shared_ptr<Layer> layer);
    // Puts the layer at `index` among the sublayers (clamped to the end).
    void insertSublayer(std::shared_ptr<Layer> layer, size_t index);
    void removeFromSuperlayer();
    // Only what the mask covers (by its alpha) of this layer and its sublayers shows. The mask is laid
    // out in this layer's space.
    const std::shared_ptr<Layer>& mask() const { return m_mask; }
    void setMask(std::shared_ptr<Layer> mask);

    // The root of the tree this layer is in tells its host about changes.
    void setHost(LayerHost* host) { m_host = host; }

    // Animations. Adding runs a copy under `key`, starting now; an animation already under that key
    // stops unfinished. An animation added inside an open view animation block or transaction also
    // counts towards that one's completion.
    void addAnimation(const Animation& animation, std::string key);
    void removeAnimation(std::string_view key);
    void removeAllAnimations();
    const Animation* animation(std::string_view key) const;
    std::vector<std::string> animationKeys() const;
    bool hasAnimations() const { return !m_animations.empty(); }
    // Whether a running view animation keeps touches away from the layer's view (it was made without
    // allowing user interaction).
    bool blocksInteraction() const;

    // Stops (finished) the animations that have reached their end by `now`; the animation engine calls
    // this every frame. Answers whether any animation still runs.
    bool advanceAnimations(double now);

    // Draws what only this kind of layer draws, in its bounds' coordinates, with presented values.
    virtual void drawContent(gfx::Canvas& canvas) const;
    // Where this layer itself draws, in its bounds' coordinates (its sublayers aside); null when it draws
    // nothing of its own.
    virtual core::Rect drawingExtents() const;

    // Tells the host of the tree that the layer must be drawn again.
    void invalidate();

    // What changed since the screen's renderer last took the changes (it alone does): the layer's own
    // look or place, or everything under it too (it came into its place in the tree, or its mask or
    // its rasterization changed, which changes how its sublayers show).
    struct Changes {
        bool look = false;
        bool subtree = false;
    };
    Changes takeChanges() { return std::exchange(m_changes, {}); }

protected:
    Layer();

private:
    friend class ViewAnimationBlock;

    struct RunningAnimation {
        std::string key;
        Animation animation;
        double startTime;
        std::shared_ptr<AnimationGroup> group;
        bool blocksInteraction;
        bool ended; // ran to its end and stays only to fill forwards
    };

    // Sets a model value. A view's layer makes a view animation for it inside an open view animation
    // block, and stops the property's view animation when it changes outside of one.
    template <class T> void change(LayerProperty property, T& field, const T& value);
    void addRunningAnimation(const Animation& animation, std::string key,
                             std::shared_ptr<AnimationGroup> group, bool blocksInteraction);
    void stop(RunningAnimation& running, bool finished);
    void stopAll();
    void detachFromSuperlayer();
    // Tells the host of the tree that something in it changed, without this layer's own look changing.
    void treeChanged();
    static void applyValue(LayerState& state, LayerProperty property, const AnimatableValue& value);

    LayerState m_model;
    bool m_hidden = false;
    bool m_masksToBounds = false;
    std::optional<float> m_rasterizationScale;
    bool m_needsDisplay = true;
    bool m_registeredForAnimation = false;
    std::shared_ptr<const gfx::Image> m_contents;
    LayerDelegate* m_delegate = nullptr; // owns the layer
    LayerHost* m_host = nullptr;         // only at a root; outlives the tree
    Layer* m_superlayer = nullptr;       // owns this layer
    std::vector<std::shared_ptr<Layer>> m_sublayers;
    std::shared_ptr<Layer> m_mask;
    std::vector<RunningAnimation> m_animations;
    // The delegate's drawing, kept by the renderer; the delegate has drawn something before.
    std::shared_ptr<const gfx::Image> m_drawing;
    core::Rect m_drawingPaintedBounds;
    bool m_drawingOpaque = false;
    bool m_delegateDraws = false;
    Changes m_changes{true, true};
};

} // namespace ui
