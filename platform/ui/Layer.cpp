#include "platform/ui/Layer.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageContext.h"
#include "platform/ui/AnimationEngine.h"
#include "platform/ui/ViewAnimationBlock.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

namespace ui {

core::AffineTransform LayerState::toSuperlayer() const {
    const float anchorX = bounds.origin.x + anchorPoint.x * bounds.size.width;
    const float anchorY = bounds.origin.y + anchorPoint.y * bounds.size.height;
    const core::AffineTransform aboutAnchor =
        core::AffineTransform::concat(core::AffineTransform::makeTranslation(-anchorX, -anchorY), transform);
    return core::AffineTransform::concat(aboutAnchor,
                                         core::AffineTransform::makeTranslation(position.x, position.y));
}

core::Rect LayerState::frame() const {
    return toSuperlayer().apply(bounds);
}

std::shared_ptr<Layer> Layer::create() {
    return std::shared_ptr<Layer>(new Layer);
}

Layer::Layer() = default;

Layer::~Layer() {
    stopAll();
    for (const std::shared_ptr<Layer>& sublayer : m_sublayers)
        sublayer->m_superlayer = nullptr;
    if (m_mask)
        m_mask->m_superlayer = nullptr;
}

template <class T> void Layer::change(LayerProperty property, T& field, const T& value) {
    AnimationEngine* engine = m_delegate ? AnimationEngine::current() : nullptr;
    if (ViewAnimationBlock* block = engine ? engine->innermostBlock() : nullptr; block && block->animates()) {
        block->animate(*this, property, AnimatableValue(value));
        field = value;
        invalidate();
        return;
    }
    if (field == value)
        return;
    // What the code sets outside an animation block is what shows.
    if (m_delegate)
        removeAnimation(keyFor(property));
    field = value;
    invalidate();
}

void Layer::setBounds(const core::Rect& bounds) {
    change(LayerProperty::Bounds, m_model.bounds, bounds);
}

void Layer::setPosition(core::Point position) {
    change(LayerProperty::Position, m_model.position, position);
}

void Layer::setAnchorPoint(core::Point anchorPoint) {
    if (m_model.anchorPoint == anchorPoint)
        return;
    m_model.anchorPoint = anchorPoint;
    invalidate();
}

void Layer::setTransform(const core::AffineTransform& transform) {
    change(LayerProperty::Transform, m_model.transform, transform);
}

void Layer::setOpacity(float opacity) {
    change(LayerProperty::Opacity, m_model.opacity, opacity);
}

void Layer::setBackgroundColor(const core::Color& color) {
    change(LayerProperty::BackgroundColor, m_model.backgroundColor, color);
}

void Layer::setFrame(const core::Rect& frame) {
    const core::Rect target = frame.standardized();
    const core::AffineTransform& t = m_model.transform;
    core::Size size = m_model.bounds.size;
    if (t.b == 0 && t.c == 0 && t.a != 0 && t.d != 0)
        size = {target.size.width / std::abs(t.a), target.size.height / std::abs(t.d)};
    setBounds({m_model.bounds.origin, size});
    setPosition({target.origin.x + m_model.anchorPoint.x * target.size.width,
                 target.origin.y + m_model.anchorPoint.y * target.size.height});
}

void Layer::setHidden(bool hidden) {
    if (m_hidden == hidden)
        return;
    m_hidden = hidden;
    invalidate();
}

void Layer::setMasksToBounds(bool masks) {
    if (m_masksToBounds == masks)
        return;
    m_masksToBounds = masks;
    invalidate();
}

void Layer::setRasterizationScale(std::optional<float> scale) {
    // A scale that is not a positive number could only make an empty picture.
    if (scale && !(*scale > 0 && std::isfinite(*scale)))
        scale.reset();
    if (m_rasterizationScale == scale)
        return;
    m_rasterizationScale = scale;
    m_changes.subtree = true;
    invalidate();
}

AnimatableValue Layer::modelValue(LayerProperty property) const {
    switch (property) {
    case LayerProperty::Position:
        return m_model.position;
    case LayerProperty::Bounds:
        return m_model.bounds;
    case LayerProperty::Transform:
        return m_model.transform;
    case LayerProperty::Opacity:
        return m_model.opacity;
    case LayerProperty::BackgroundColor:
        return m_model.backgroundColor;
    case LayerProperty::StrokeStart:
        return 0.0f;
    case LayerProperty::StrokeEnd:
        return 1.0f;
    }
    return 0.0f;
}

AnimatableValue Layer::presentationValue(LayerProperty property) const {
    AnimatableValue value = modelValue(property);
    if (m_animations.empty())
        return value;
    const AnimationEngine* engine = AnimationEngine::current();
    const double now = engine ? engine->now() : 0;
    for (const RunningAnimation& running : m_animations) {
        if (running.animation.property() != property)
            continue;
        const Animation::Progress progress = running.animation.progressAt(now - running.startTime);
        if (running.animation.showsValue(progress))
            value = running.animation.valueAt(progress.fraction);
    }
    return value;
}

void Layer::applyValue(LayerState& state, LayerProperty property, const AnimatableValue& value) {
    switch (property) {
    case LayerProperty::Position:
        if (const auto* point = std::get_if<core::Point>(&value))
            state.position = *point;
        break;
    case LayerProperty::Bounds:
        if (const auto* rect = std::get_if<core::Rect>(&value))
            state.bounds = *rect;
        break;
    case LayerProperty::Transform:
        if (const auto* transform = std::get_if<core::AffineTransform>(&value))
            state.transform = *transform;
        break;
    case LayerProperty::Opacity:
        if (const auto* opacity = std::get_if<float>(&value))
            state.opacity = *opacity;
        break;
    case LayerProperty::BackgroundColor:
        if (const auto* color = std::get_if<core::Color>(&value))
            state.backgroundColor = *color;
        break;
    case LayerProperty::StrokeStart:
    case LayerProperty::StrokeEnd:
        break;
    }
}

LayerState Layer::presentation() const {
    LayerState state = m_model;
    if (m_animations.empty())
        return state;
    const AnimationEngine* engine = AnimationEngine::current();
    const double now = engine ? engine->now() : 0;
    for (const RunningAnimation& running : m_animations) {
        const Animation::Progress progress = running.animation.progressAt(now - running.startTime);
        if (running.animation.showsValue(progress))
            applyValue(state, running.animation.property(), running.animation.valueAt(progress.fraction));
    }
    return state;
}

void Layer::setContents(std::shared_ptr<const gfx::Image> image) {
    m_contents = std::move(image);
    invalidate();
}

void Layer::setDelegate(LayerDelegate* delegate) {
    m_delegate = delegate;
    setNeedsDisplay();
}

void Layer::setNeedsDisplay() {
    m_needsDisplay = true;
    invalidate();
}

bool Layer::drawsOpaque(float scale) const {
    return m_drawingOpaque && !m_needsDisplay && m_drawing && m_drawing->scale() == scale;
}

const std::shared_ptr<const gfx::Image>& Layer::drawing(float scale) {
    if (!m_delegate) {
        m_drawing.reset();
        return m_drawing;
    }
    if (!m_needsDisplay && (!m_drawing || m_drawing->scale() == scale))
        return m_drawing;
    m_needsDisplay = false;
    m_drawing.reset();
    // A delegate that has never drawn is first asked on a one-pixel canvas, so that a view without
    // content of its own costs no picture.
    if (!m_delegateDraws) {
        static const std::unique_ptr<gfx::Bitmap> probe = gfx::Bitmap::create(1, 1);
        gfx::Canvas canvas(*probe, 1);
        m_delegateDraws = m_delegate->drawLayer(canvas);
        if (!m_delegateDraws)
            return m_drawing;
    }
    const core::Rect& bounds = m_model.bounds;
    if (bounds.isEmpty())
        return m_drawing;
    gfx::ImageContext context(bounds.size, scale);
    context.canvas().translate(-bounds.origin.x, -bounds.origin.y);
    m_delegate->drawLayer(context.canvas());
    m_drawing = std::move(context).takeImage();
    m_drawingPaintedBounds = m_drawing ? m_drawing->bitmap().paintedBounds() : core::Rect{};
    m_drawingOpaque = m_drawing && m_drawing->bitmap().isOpaque();
    // A drawing without a single painted pixel is no drawing.
    if (m_drawingPaintedBounds.isEmpty())
        m_drawing.reset();
    return m_drawing;
}

void Layer::invalidate() {
    m_changes.look = true;
    treeChanged();
}

void Layer::treeChanged() {
    Layer* root = this;
    while (root->m_superlayer)
        root = root->m_superlayer;
    if (root->m_host)
        root->m_host->layerTreeChanged();
}

void Layer::detachFromSuperlayer() {
    Layer* superlayer = m_superlayer;
    if (!superlayer)
        return;
    m_superlayer = nullptr;
    if (superlayer->m_mask.get() == this) {
        superlayer->m_mask.reset();
    } else {
        std::erase_if(superlayer->m_sublayers,
                      [this](const std::shared_ptr<Layer>& sublayer) { return sublayer.get() == this; });
    }
    superlayer->treeChanged();
}

void Layer::addSublayer(std::shared_ptr<Layer> layer) {
    insertSublayer(std::move(layer), m_sublayers.size());
}

void Layer::insertSublayer(std::shared_ptr<Layer> layer, size_t index) {
    assert(layer && layer.get() != this);
    if (!layer || layer.get() == this)
        return;
    // `layer`, held by value, keeps the layer alive while it moves out of its current place, which may
    // be this very list.
    if (layer->m_superlayer == this) {
        const auto current = std::find(m_sublayers.begin(), m_sublayers.end(), layer);
        if (static_cast<size_t>(current - m_sublayers.begin()) < index)
            --index;
    }
    layer->detachFromSuperlayer();
    index = std::min(index, m_sublayers.size());
    m_sublayers.insert(m_sublayers.begin() + static_cast<std::ptrdiff_t>(index), layer);
    layer->m_superlayer = this;
    layer->m_changes.subtree = true;
    treeChanged();
}

void Layer::removeFromSuperlayer() {
    std::shared_ptr<Layer> keep = shared_from_this();
    detachFromSuperlayer();
}

void Layer::setMask(std::shared_ptr<Layer> mask) {
    if (m_mask == mask)
        return;
    if (m_mask)
        m_mask->m_superlayer = nullptr;
    if (mask)
        mask->detachFromSuperlayer();
    m_mask = std::move(mask);
    if (m_mask)
        m_mask->m_superlayer = this;
    m_changes.subtree = true;
    invalidate();
}

void Layer::addAnimation(const Animation& animation, std::string key) {
    const AnimationEngine* engine = AnimationEngine::current();
    addRunningAnimation(animation, std::move(key), engine ? engine->innermostGroup() : nullptr, false);
}

void Layer::addRunningAnimation(const Animation& animation, std::string key,
                                std::shared_ptr<AnimationGroup> group, bool blocksInteraction) {
    AnimationEngine* engine = AnimationEngine::current();
    assert(engine && "animations need a running AnimationEngine");
    if (!engine)
        return;
    const LayerProperty property = animation.property();
    const AnimatableValue presented = presentationValue(property);
    removeAnimation(key);
    if (group)
        group->join();
    m_animations.push_back({std::move(key), animation.resolved(presented, modelValue(property)),
                            engine->now(), std::move(group), blocksInteraction, false});
    if (!m_registeredForAnimation) {
        m_registeredForAnimation = true;
        engine->track(*this);
    }
    invalidate();
}

void Layer::stop(RunningAnimation& running, bool finished) {
    if (running.ended)
        return;
    running.ended = true;
    if (running.group)
        running.group->leave(finished);
    std::shared_ptr<AnimationDelegate> delegate = running.animation.delegate().lock();
    AnimationEngine* engine = AnimationEngine::current();
    if (delegate && engine) {
        engine->post([delegate, animation = running.animation, finished] {
            delegate->animationDidStop(animation, finished);
        });
    }
}

void Layer::removeAnimation(std::string_view key) {
    const auto found = std::find_if(m_animations.begin(), m_animations.end(),
                                    [key](const RunningAnimation& running) { return running.key == key; });
    if (found == m_animations.end())
        return;
    stop(*found, false);
    m_animations.erase(found);
    invalidate();
}

void Layer::removeAllAnimations() {
    if (m_animations.empty())
        return;
    stopAll();
    invalidate();
}

void Layer::stopAll() {
    std::vector<RunningAnimation> animations = std::move(m_animations);
    m_animations.clear();
    for (RunningAnimation& running : animations)
        stop(running, false);
    if (m_registeredForAnimation) {
        m_registeredForAnimation = false;
        if (AnimationEngine* engine = AnimationEngine::current())
            engine->untrack(*this);
    }
}

const Animation* Layer::animation(std::string_view key) const {
    for (const RunningAnimation& running : m_animations) {
        if (running.key == key)
            return &running.animation;
    }
    return nullptr;
}

std::vector<std::string> Layer::animationKeys() const {
    std::vector<std::string> keys;
    for (const RunningAnimation& running : m_animations)
        keys.push_back(running.key);
    return keys;
}

bool Layer::blocksInteraction() const {
    return std::any_of(m_animations.begin(), m_animations.end(), [](const RunningAnimation& running) {
        return running.blocksInteraction && !running.ended;
    });
}

bool Layer::advanceAnimations(double now) {
    bool moving = false;
    for (RunningAnimation& running : m_animations) {
        if (running.ended)
            continue;
        if (running.animation.progressAt(now - running.startTime).phase == Animation::Progress::Phase::Over)
            stop(running, true);
        else
            moving = true;
    }
    const size_t before = m_animations.size();
    std::erase_if(m_animations, [](const RunningAnimation& running) {
        return running.ended && running.animation.isRemovedOnCompletion();
    });
    if (moving || m_animations.size() != before)
        invalidate();
    if (!moving)
        m_registeredForAnimation = false;
    return moving;
}

void Layer::drawContent(gfx::Canvas&) const {}

core::Rect Layer::drawingExtents() const {
    const LayerState state = presentation();
    // A delegate that is still to draw may draw anything.
    const bool draws = state.backgroundColor.alpha() > 0 || m_contents || (m_delegate && (m_needsDisplay || m_drawing));
    return draws ? state.bounds : core::Rect::null();
}

} // namespace ui
