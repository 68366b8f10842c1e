#include "platform/ui/View.h"

#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/ViewController.h"

#include <algorithm>
#include <cassert>

namespace ui {

namespace {

// One axis of autoresizing: the leading margin, the length and the trailing margin of a subview share a
// change of the superview's length among those of them that are flexible, in proportion to their sizes
// (evenly when those are all zero).
struct Axis {
    float lead;
    float length;
    float trail;
};

Axis resize(Axis axis, float delta, bool flexibleLead, bool flexibleLength, bool flexibleTrail) {
    const int flexible = int(flexibleLead) + int(flexibleLength) + int(flexibleTrail);
    if (flexible == 0 || delta == 0)
        return axis;
    const float total = (flexibleLead ? axis.lead : 0) + (flexibleLength ? axis.length : 0) +
                        (flexibleTrail ? axis.trail : 0);
    auto share = [&](float part) { return total != 0 ? delta * part / total : delta / float(flexible); };
    if (flexibleLead)
        axis.lead += share(axis.lead);
    if (flexibleLength)
        axis.length = std::max(0.0f, axis.length + share(axis.length));
    return axis;
}

} // namespace

std::shared_ptr<View> View::create(const core::Rect& frame) {
    return std::shared_ptr<View>(new View(frame));
}

View::View(const core::Rect& frame)
    : View(frame, Layer::create()) {}

View::View(const core::Rect& frame, std::shared_ptr<Layer> layer)
    : m_layer(std::move(layer)) {
    // Placed before the layer becomes a view's layer, so that a view made inside an animation block
    // does not fly in from the origin.
    m_layer->setFrame(frame);
    m_layer->setDelegate(this);
}

View::~View() {
    m_layer->setDelegate(nullptr);
    for (const std::shared_ptr<View>& subview : m_subviews) {
        subview->m_superview = nullptr;
        subview->setWindow(nullptr);
    }
}

void View::setFrame(const core::Rect& frame) {
    const core::Size oldSize = bounds().size;
    m_layer->setFrame(frame);
    if (bounds().size != oldSize)
        resizeSubviews(oldSize);
}

void View::setBounds(const core::Rect& bounds) {
    const core::Size oldSize = this->bounds().size;
    m_layer->setBounds(bounds);
    if (bounds.size != oldSize)
        resizeSubviews(oldSize);
}

void View::resizeSubviews(core::Size oldSize) {
    if (m_autoresizesSubviews) {
        for (const std::shared_ptr<View>& subview : std::vector<std::shared_ptr<View>>(m_subviews))
            subview->autoresize(oldSize, bounds().size);
    }
    setNeedsLayout();
    if (m_contentMode == ContentMode::Redraw)
        setNeedsDisplay();
}

void View::autoresize(core::Size oldSuperSize, core::Size newSuperSize) {
    using enum AutoresizingMask;
    if (m_autoresizingMask == None)
        return;
    const core::Rect frame = this->frame();
    const Axis x =
        resize({frame.minX(), frame.width(), oldSuperSize.width - frame.maxX()},
               newSuperSize.width - oldSuperSize.width, hasFlag(m_autoresizingMask, FlexibleLeftMargin),
               hasFlag(m_autoresizingMask, FlexibleWidth), hasFlag(m_autoresizingMask, FlexibleRightMargin));
    const Axis y = resize(
        {frame.minY(), frame.height(), oldSuperSize.height - frame.maxY()},
        newSuperSize.height - oldSuperSize.height, hasFlag(m_autoresizingMask, FlexibleTopMargin),
        hasFlag(m_autoresizingMask, FlexibleHeight), hasFlag(m_autoresizingMask, FlexibleBottomMargin));
    setFrame({x.lead, y.lead, x.length, y.length});
}

void View::addGestureRecognizer(std::shared_ptr<GestureRecognizer> recognizer) {
    if (!recognizer)
        return;
    if (View* owner = recognizer->view(); owner && owner != this)
        owner->removeGestureRecognizer(*recognizer);
    if (std::find(m_gestureRecognizers.begin(), m_gestureRecognizers.end(), recognizer) !=
        m_gestureRecognizers.end())
        return;
    recognizer->m_view = weak_from_this();
    m_gestureRecognizers.push_back(std::move(recognizer));
}

void View::removeGestureRecognizer(const GestureRecognizer& recognizer) {
    std::erase_if(m_gestureRecognizers, [&](const std::shared_ptr<GestureRecognizer>& entry) {
        if (entry.get() != &recognizer)
            return false;
        entry->m_view.reset();
        return true;
    });
}

View* View::viewWithTag(int tag) {
    if (m_tag == tag)
        return this;
    for (const std::shared_ptr<View>& subview : m_subviews) {
        if (View* found = subview->viewWithTag(tag))
            return found;
    }
    return nullptr;
}

void View::addMotionEffect(std::shared_ptr<MotionEffect> effect) {
    if (effect)
        m_motionEffects.push_back(std::move(effect));
}

void View::removeMotionEffect(const MotionEffect& effect) {
    std::erase_if(m_motionEffects,
                  [&](const std::shared_ptr<MotionEffect>& kept) { return kept.get() == &effect; });
}

void View::addSubview(std::shared_ptr<View> view) {
    insertSubview(std::move(view), m_subviews.size());
}

void View::insertSubview(std::shared_ptr<View> view, size_t index) {
    attach(std::move(view), index);
}

std::optional<size_t> View::subviewIndex(const View& view) const {
    const auto found =
        std::find_if(m_subviews.begin(), m_subviews.end(),
                     [&](const std::shared_ptr<View>& subview) { return subview.get() == &view; });
    return found != m_subviews.end() ? std::optional(size_t(found - m_subviews.begin())) : std::nullopt;
}

// A sibling that is not a subview puts the view on top, respectively at the bottom.
void View::insertSubviewAbove(std::shared_ptr<View> view, const View& sibling) {
    const std::optional<size_t> index = subviewIndex(sibling);
    attach(std::move(view), index ? *index + 1 : m_subviews.size());
}

void View::insertSubviewBelow(std::shared_ptr<View> view, const View& sibling) {
    attach(std::move(view), subviewIndex(sibling).value_or(0));
}

void View::bringSubviewToFront(const View& view) {
    if (view.m_superview == this)
        attach(const_cast<View&>(view).shared_from_this(), m_subviews.size());
}

void View::sendSubviewToBack(const View& view) {
    if (view.m_superview == this)
        attach(const_cast<View&>(view).shared_from_this(), 0);
}

void View::attach(std::shared_ptr<View> view, size_t index) {
    assert(view && !isDescendantOf(*view) && "a view cannot contain itself");
    if (!view || isDescendantOf(*view))
        return;
    const bool moving = view->m_superview != this;
    if (!moving) {
        const auto current = std::find(m_subviews.begin(), m_subviews.end(), view);
        if (size_t(current - m_subviews.begin()) < index)
            --index;
        m_subviews.erase(current);
    } else if (view->m_superview) {
        view->m_superview->detach(*view);
    }
    index = std::min(index, m_subviews.size());
    m_subviews.insert(m_subviews.begin() + std::ptrdiff_t(index), view);
    view->m_superview = this;

    // Subview layers keep the order of the subviews; other sublayers stay where they are between them.
    const Layer* above = index + 1 < m_subviews.size() ? m_subviews[index + 1]->m_layer.get() : nullptr;
    const auto& sublayers = m_layer->sublayers();
    const auto position =
        std::find_if(sublayers.begin(), sublayers.end(),
                     [&](const std::shared_ptr<Layer>& layer) { return layer.get() == above; });
    m_layer->insertSublayer(view->m_layer, above ? size_t(position - sublayers.begin()) : sublayers.size());

    if (!moving)
        return;
    view->setWindow(m_window);
    view->didMoveToSuperview();
    didAddSubview(*view);
    setNeedsLayout();
}

void View::detach(View& view) {
    willRemoveSubview(view);
    view.m_layer->removeFromSuperlayer();
    view.m_superview = nullptr;
    std::erase_if(m_subviews, [&](const std::shared_ptr<View>& subview) { return subview.get() == &view; });
    setNeedsLayout();
}

void View::removeFromSuperview() {
    if (!m_superview)
        return;
    const std::shared_ptr<View> keep = shared_from_this();
    stopAnimationsInTree();
    m_superview->detach(*this);
    setWindow(nullptr);
    didMoveToSuperview();
}

void View::stopAnimationsInTree() {
    auto stop = [](auto& self, Layer& layer) -> void {
        layer.removeAllAnimations();
        for (const std::shared_ptr<Layer>& sublayer : layer.sublayers())
            self(self, *sublayer);
    };
    stop(stop, *m_layer);
}

void View::setWindow(Window* window) {
    if (m_window == window)
        return;
    m_window = window;
    didMoveToWindow();
    if (m_viewController)
        m_viewController->viewDidMoveToWindow();
    for (const std::shared_ptr<View>& subview : std::vector<std::shared_ptr<View>>(m_subviews))
        subview->setWindow(window);
}

bool View::isDescendantOf(const View& view) const {
    for (const View* ancestor = this; ancestor; ancestor = ancestor->m_superview) {
        if (ancestor == &view)
            return true;
    }
    return false;
}

void View::setNeedsLayout() {
    if (m_needsLayout)
        return;
    m_needsLayout = true;
    m_layer->invalidate();
}

void View::layoutIfNeeded() {
    const std::shared_ptr<View> keep = shared_from_this();
    if (m_needsLayout) {
        m_needsLayout = false;
        if (m_viewController)
            m_viewController->viewWillLayoutSubviews();
        layoutSubviews();
        if (m_viewController)
            m_viewController->viewDidLayoutSubviews();
    }
    for (const std::shared_ptr<View>& subview : std::vector<std::shared_ptr<View>>(m_subviews)) {
        if (subview->m_superview == this)
            subview->layoutIfNeeded();
    }
}

void View::layoutSubviews() {}

void View::draw(gfx::Canvas&) {
    m_drewNothing = true;
}

bool View::drawLayer(gfx::Canvas& canvas) {
    m_drewNothing = false;
    draw(canvas);
    return !m_drewNothing;
}

void View::didAddSubview(View&) {}

void View::willRemoveSubview(View&) {}

void View::didMoveToSuperview() {}

void View::didMoveToWindow() {}

bool View::pointInside(core::Point point, const Event*) const {
    return bounds().contains(point);
}

View* View::hitTest(core::Point point, const Event* event) {
    if (isHidden() || !m_userInteractionEnabled || alpha() < 0.01f || m_layer->blocksInteraction())
        return nullptr;
    if (!pointInside(point, event))
        return nullptr;
    for (auto subview = m_subviews.rbegin(); subview != m_subviews.rend(); ++subview) {
        const core::AffineTransform toSuperview = (*subview)->m_layer->model().toSuperlayer();
        // A view squashed flat (scaled by 0) covers no area.
        if (toSuperview.a * toSuperview.d - toSuperview.b * toSuperview.c == 0)
            continue;
        if (View* hit = (*subview)->hitTest(toSuperview.inverted().apply(point), event))
            return hit;
    }
    return this;
}

core::AffineTransform View::toRoot() const {
    core::AffineTransform transform;
    for (const View* view = this; view->m_superview; view = view->m_superview)
        transform = core::AffineTransform::concat(transform, view->m_layer->model().toSuperlayer());
    return transform;
}

core::AffineTransform View::transformToView(const View* view) const {
    return view ? core::AffineTransform::concat(toRoot(), view->toRoot().inverted()) : toRoot();
}

core::Point View::convertPointToView(core::Point point, const View* view) const {
    return transformToView(view).apply(point);
}

core::Point View::convertPointFromView(core::Point point, const View* view) const {
    return transformToView(view).inverted().apply(point);
}

core::Rect View::convertRectToView(const core::Rect& rect, const View* view) const {
    return transformToView(view).apply(rect);
}

core::Rect View::convertRectFromView(const core::Rect& rect, const View* view) const {
    return transformToView(view).inverted().apply(rect);
}

Responder* View::nextResponder() const {
    if (m_viewController)
        return m_viewController;
    return m_superview;
}

} // namespace ui
