#include "platform/ui/Control.h"

#include <algorithm>

namespace ui {

namespace {

// How far outside its bounds a tracked finger still counts as inside the control.
constexpr float touchSlack = 70;

const Touch* firstOf(const TouchSet& touches) {
    return touches.empty() ? nullptr : touches.front().get();
}

} // namespace

Control::Control(const core::Rect& frame)
    : View(frame) {}

ControlState Control::state() const {
    ControlState state = ControlState::Normal;
    if (m_highlighted)
        state = state | ControlState::Highlighted;
    if (!m_enabled)
        state = state | ControlState::Disabled;
    if (m_selected)
        state = state | ControlState::Selected;
    return state;
}

void Control::setEnabled(bool enabled) {
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    // A disabled control follows no finger (even one that a subclass declined to track), so that it
    // reports nothing more.
    if (!enabled && m_trackedTouch) {
        m_highlighted = false;
        stopTracking();
    }
    stateDidChange();
}

void Control::setHighlighted(bool highlighted) {
    if (m_highlighted == highlighted)
        return;
    m_highlighted = highlighted;
    stateDidChange();
}

void Control::setSelected(bool selected) {
    if (m_selected == selected)
        return;
    m_selected = selected;
    stateDidChange();
}

void Control::stateDidChange() {
    setNeedsDisplay();
}

Control::TargetId Control::addTarget(ControlEvent events, Action action) {
    const TargetId id = m_nextTargetId++;
    m_targets.push_back({id, events, std::move(action)});
    return id;
}

void Control::removeTarget(TargetId id) {
    std::erase_if(m_targets, [id](const Target& target) { return target.id == id; });
}

void Control::removeAllTargets() {
    m_targets.clear();
}

bool Control::hasTargetFor(ControlEvent event) const {
    return std::any_of(m_targets.begin(), m_targets.end(),
                       [event](const Target& target) { return hasEvent(target.events, event); });
}

void Control::sendActions(ControlEvent event) {
    // A target may remove targets or the control itself: run on a copy, with the control kept alive.
    const std::shared_ptr<View> keep = shared_from_this();
    const std::vector<Target> targets = m_targets;
    for (const Target& target : targets) {
        if (hasEvent(target.events, event) && target.action)
            target.action(*this);
    }
}

std::optional<ControlEvent> Control::eventNamed(std::string_view name) {
    static const std::pair<std::string_view, ControlEvent> events[] = {
        {"touchDown", ControlEvent::TouchDown},
        {"touchDownRepeat", ControlEvent::TouchDownRepeat},
        {"touchDragInside", ControlEvent::TouchDragInside},
        {"touchDragOutside", ControlEvent::TouchDragOutside},
        {"touchDragEnter", ControlEvent::TouchDragEnter},
        {"touchDragExit", ControlEvent::TouchDragExit},
        {"touchUpInside", ControlEvent::TouchUpInside},
        {"touchUpOutside", ControlEvent::TouchUpOutside},
        {"touchCancel", ControlEvent::TouchCancel},
        {"valueChanged", ControlEvent::ValueChanged},
        {"editingDidBegin", ControlEvent::EditingDidBegin},
        {"editingChanged", ControlEvent::EditingChanged},
        {"editingDidEnd", ControlEvent::EditingDidEnd},
        {"editingDidEndOnExit", ControlEvent::EditingDidEndOnExit},
    };
    for (const auto& [eventName, event] : events) {
        if (eventName == name)
            return event;
    }
    return std::nullopt;
}

core::Status Control::connectAction(std::string_view event, std::function<void()> action) {
    const std::optional<ControlEvent> named = eventNamed(event);
    if (!named)
        return core::Error{"ui.interface", 5, "unknown control event \"" + std::string(event) + "\"", {}};
    addTarget(*named, [action = std::move(action)](Control&) { action(); });
    return {};
}

bool Control::isInsideWithSlack(const Touch& touch) const {
    return bounds().insetBy(-touchSlack, -touchSlack).contains(touch.locationInView(this));
}

void Control::stopTracking() {
    m_tracking = false;
    m_trackedTouch = nullptr;
    m_touchInside = false;
}

// A disabled control, which follows no finger, lets the touches go on to its next responder; an enabled
// one keeps those it does not follow to itself.

void Control::touchesBegan(const TouchSet& touches, const Event& event) {
    if (!m_enabled)
        return View::touchesBegan(touches, event);
    const Touch* touch = firstOf(touches);
    if (!touch || m_trackedTouch)
        return;
    const std::shared_ptr<View> keep = shared_from_this();
    m_trackedTouch = touch;
    m_touchInside = true;
    m_tracking = beginTracking(*touch, event);
    setHighlighted(true);
    sendActions(touch->tapCount() > 1 ? ControlEvent::TouchDown | ControlEvent::TouchDownRepeat
                                      : ControlEvent::TouchDown);
}

void Control::touchesMoved(const TouchSet& touches, const Event& event) {
    if (!m_enabled)
        return View::touchesMoved(touches, event);
    if (!contains(touches, m_trackedTouch))
        return;
    const std::shared_ptr<View> keep = shared_from_this();
    const Touch& touch = *m_trackedTouch;
    const bool wasInside = m_touchInside;
    m_touchInside = isInsideWithSlack(touch);
    setHighlighted(m_touchInside);
    if (m_tracking)
        m_tracking = continueTracking(touch, event);
    if (wasInside != m_touchInside)
        sendActions(m_touchInside ? ControlEvent::TouchDragEnter : ControlEvent::TouchDragExit);
    sendActions(m_touchInside ? ControlEvent::TouchDragInside : ControlEvent::TouchDragOutside);
}

void Control::touchesEnded(const TouchSet& touches, const Event& event) {
    if (!m_enabled)
        return View::touchesEnded(touches, event);
    if (!contains(touches, m_trackedTouch))
        return;
    const std::shared_ptr<View> keep = shared_from_this();
    const Touch& touch = *m_trackedTouch;
    const bool inside = isInsideWithSlack(touch);
    if (m_tracking)
        endTracking(touch, event);
    stopTracking();
    setHighlighted(false);
    sendActions(inside ? ControlEvent::TouchUpInside : ControlEvent::TouchUpOutside);
}

void Control::touchesCancelled(const TouchSet& touches, const Event& event) {
    if (!m_enabled)
        return View::touchesCancelled(touches, event);
    if (!m_trackedTouch)
        return;
    const std::shared_ptr<View> keep = shared_from_this();
    if (m_tracking)
        cancelTracking(event);
    stopTracking();
    setHighlighted(false);
    sendActions(ControlEvent::TouchCancel);
}

bool Control::beginTracking(const Touch&, const Event&) {
    return true;
}

bool Control::continueTracking(const Touch&, const Event&) {
    return true;
}

void Control::endTracking(const Touch&, const Event&) {}

void Control::cancelTracking(const Event&) {}

} // namespace ui
