#pragma once

#include "platform/ui/InterfaceObject.h"
#include "platform/ui/Layer.h"
#include "platform/ui/MotionEffect.h"
#include "platform/ui/Touch.h"

#include <memory>
#include <optional>
#include <vector>

namespace gfx {
class Canvas;
class Image;
} // namespace gfx

namespace ui {

class GestureRecognizer;
class ViewController;
class Window;

// How a view follows a change of its superview's size; combine with |. The values are those that
// interface files write.
enum class AutoresizingMask : unsigned {
    None = 0,
    FlexibleLeftMargin = 1,
    FlexibleWidth = 2,
    FlexibleRightMargin = 4,
    FlexibleTopMargin = 8,
    FlexibleHeight = 16,
    FlexibleBottomMargin = 32,
};

constexpr AutoresizingMask operator|(AutoresizingMask a, AutoresizingMask b) {
    return static_cast<AutoresizingMask>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

constexpr bool hasFlag(AutoresizingMask mask, AutoresizingMask flag) {
    return (static_cast<unsigned>(mask) & static_cast<unsigned>(flag)) != 0;
}

// What a view's drawing does when its size changes.
enum class ContentMode {
    ScaleToFill = 0, // the kept drawing stretches to the new size
    Redraw = 3,      // the view draws itself again at the new size
};

// A rectangle on screen in a tree of views: the building block of every screen. A view is placed by its
// frame (or centre, bounds and transform), has a background colour and opacity, may draw content by
// overriding draw(), lays out its subviews in layoutSubviews(), and receives the touches that land on it.
//
// Views are made by factories (`View::create`, and each subclass's own) and shared: a superview owns its
// subviews and a subview points back to it without owning it. Changes to frame, bounds, centre,
// transform, alpha and background colour animate inside animation blocks (see ViewAnimation.h).
//
// Main thread only.
class View : public Responder,
             public LayerDelegate,
             public InterfaceObject,
             public std::enable_shared_from_this<View> {
public:
    static std::shared_ptr<View> create(const core::Rect& frame = {});
    ~View() override;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    Layer& layer() const { return *m_layer; }

    // Geometry. The frame is in the superview's coordinates; the bounds are the view's own coordinate
    // space (its origin is the point shown at the top-left corner); the transform turns, scales and
    // moves the view about its centre. The frame of a transformed view is its bounding box.
    core::Rect frame() const { return m_layer->frame(); }
    void setFrame(const core::Rect& frame);
    const core::Rect& bounds() const { return m_layer->bounds(); }
    void setBounds(const core::Rect& bounds);
    core::Point center() const { return m_layer->position(); }
    void setCenter(core::Point center) { m_layer->setPosition(center); }
    const core::AffineTransform& transform() const { return m_layer->transform(); }
    void setTransform(const core::AffineTransform& transform) { m_layer->setTransform(transform); }

    // Look.
    float alpha() const { return m_layer->opacity(); }
    void setAlpha(float alpha) { m_layer->setOpacity(alpha); }
    bool isHidden() const { return m_layer->isHidden(); }
    void setHidden(bool hidden) { m_layer->setHidden(hidden); }
    const core::Color& backgroundColor() const { return m_layer->backgroundColor(); }
    void setBackgroundColor(const core::Color& color) { m_layer->setBackgroundColor(color); }
    bool clipsToBounds() const { return m_layer->masksToBounds(); }
    void setClipsToBounds(bool clips) { m_layer->setMasksToBounds(clips); }
    ContentMode contentMode() const { return m_contentMode; }
    void setContentMode(ContentMode mode) { m_contentMode = mode; }

    // What the screen shows while animations run (see Layer::presentation).
    LayerState presentation() const { return m_layer->presentation(); }
    core::Rect presentationFrame() const { return presentation().frame(); }

    // Touches.
    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }
    // Whether a second finger may land on the view while one is down.
    bool isMultipleTouchEnabled() const { return m_multipleTouchEnabled; }
    void setMultipleTouchEnabled(bool enabled) { m_multipleTouchEnabled = enabled; }
    // While a finger is on a view that takes touches exclusively, no other view gets a new finger, and
    // it gets none while fingers are down on other views. Its own further fingers follow
    // isMultipleTouchEnabled.
    bool isExclusiveTouch() const { return m_exclusiveTouch; }
    void setExclusiveTouch(bool exclusive) { m_exclusiveTouch = exclusive; }

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    // This view or the first of its descendants, depth first, whose tag is `tag`.
    View* viewWithTag(int tag);

    AutoresizingMask autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(AutoresizingMask mask) { m_autoresizingMask = mask; }
    bool autoresizesSubviews() const { return m_autoresizesSubviews; }
    void setAutoresizesSubviews(bool autoresizes) { m_autoresizesSubviews = autoresizes; }

    // Tilt effects, kept but inert (see MotionEffect).
    const std::vector<std::shared_ptr<MotionEffect>>& motionEffects() const { return m_motionEffects; }
    void addMotionEffect(std::shared_ptr<MotionEffect> effect);
    void removeMotionEffect(const MotionEffect& effect);

    // The tree.
    View* superview() const { return m_superview; }
    const std::vector<std::shared_ptr<View>>& subviews() const { return m_subviews; }
    Window* window() const { return m_window; }
    // Puts `view` on top of the subviews; a view that has another superview leaves it first, and one
    // that is already a subview moves to the top.
    void addSubview(std::shared_ptr<View> view);
    // Puts `view` at `index` of the subviews (clamped to the top).
    void insertSubview(std::shared_ptr<View> view, size_t index);
    void insertSubviewAbove(std::shared_ptr<View> view, const View& sibling);
    void insertSubviewBelow(std::shared_ptr<View> view, const View& sibling);
    void bringSubviewToFront(const View& view);
    void sendSubviewToBack(const View& view);
    // Leaves the superview; the animations of the view and its subviews stop unfinished.
    void removeFromSuperview();
    // Whether this view is `view` or lies inside it.
    bool isDescendantOf(const View& view) const;

    // Layout. setNeedsLayout asks for layoutSubviews before the next frame is drawn; layoutIfNeeded runs
    // the pending layouts of this view and its subviews now. A change of size asks for it by itself, and
    // so does a subview that arrives or leaves (not one that only changes its place among the others).
    void setNeedsLayout();
    void layoutIfNeeded();
    bool needsLayout() const { return m_needsLayout; }

    // Drawing. draw() fills the view's content in its bounds' coordinates; the result is kept until
    // setNeedsDisplay (or, with ContentMode::Redraw, a change of size). The base draws nothing, which
    // tells the renderer that the view has no content of its own: an override does not call it.
    void setNeedsDisplay() { m_layer->setNeedsDisplay(); }

    // Hit testing, in the view's own coordinates: pointInside answers whether a point lies on the view
    // (its bounds, unless overridden); hitTest answers the deepest view under a point that takes
    // touches, passing by hidden views, nearly transparent ones (alpha below 0.01), those that take no
    // touches and those moving in an animation that does not allow user interaction.
    virtual bool pointInside(core::Point point, const Event* event) const;
    virtual View* hitTest(core::Point point, const Event* event);

    // Conversion between the coordinates of any two views of a tree; nullptr stands for the window (the
    // root of the tree).
    core::Point convertPointToView(core::Point point, const View* view) const;
    core::Point convertPointFromView(core::Point point, const View* view) const;
    core::Rect convertRectToView(const core::Rect& rect, const View* view) const;
    core::Rect convertRectFromView(const core::Rect& rect, const View* view) const;

    // Gesture recognisers watch the touches of this view and of its subviews before the views get them
    // (see GestureRecognizer). A recogniser belongs to one view at a time.
    void addGestureRecognizer(std::shared_ptr<GestureRecognizer> recognizer);
    void removeGestureRecognizer(const GestureRecognizer& recognizer);
    const std::vector<std::shared_ptr<GestureRecognizer>>& gestureRecognizers() const {
        return m_gestureRecognizers;
    }

    // A view controller whose view this is becomes its next responder.
    ViewController* viewController() const { return m_viewController; }
    void setViewController(ViewController* controller) { m_viewController = controller; }
    Responder* nextResponder() const override;

protected:
    explicit View(const core::Rect& frame);
    // For subclasses whose layer is of another kind.
    View(const core::Rect& frame, std::shared_ptr<Layer> layer);

    virtual void draw(gfx::Canvas& canvas);
    virtual void layoutSubviews();

    virtual void didAddSubview(View& subview);
    virtual void willRemoveSubview(View& subview);
    virtual void didMoveToSuperview();
    virtual void didMoveToWindow();

private:
    bool drawLayer(gfx::Canvas& canvas) final;

    void attach(std::shared_ptr<View> view, size_t index);
    std::optional<size_t> subviewIndex(const View& view) const;
    void detach(View& view);
    void setWindow(Window* window);
    void stopAnimationsInTree();
    void resizeSubviews(core::Size oldSize);
    void autoresize(core::Size oldSuperSize, core::Size newSuperSize);
    // The transform from this view's coordinates to the root's, and to `view`'s (the root's for nullptr).
    core::AffineTransform toRoot() const;
    core::AffineTransform transformToView(const View* view) const;

    std::shared_ptr<Layer> m_layer;
    View* m_superview = nullptr; // owns this view
    std::vector<std::shared_ptr<View>> m_subviews;
    std::vector<std::shared_ptr<GestureRecognizer>> m_gestureRecognizers;
    Window* m_window = nullptr;                 // the root of the tree, which owns it
    ViewController* m_viewController = nullptr; // owns this view
    bool m_userInteractionEnabled = true;
    bool m_multipleTouchEnabled = false;
    bool m_exclusiveTouch = false;
    bool m_autoresizesSubviews = true;
    bool m_needsLayout = true;
    bool m_drewNothing = false; // the base draw() ran
    int m_tag = 0;
    AutoresizingMask m_autoresizingMask = AutoresizingMask::None;
    ContentMode m_contentMode = ContentMode::ScaleToFill;
    std::vector<std::shared_ptr<MotionEffect>> m_motionEffects;

    friend class Window;
};

} // namespace ui
