#pragma once

#include "platform/ui/View.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace ui {

// The state of a control as one value: a combination of the flags below, Normal when none is set.
// Per-state looks (titles, colours, images) are kept under the whole value.
enum class ControlState : unsigned {
    Normal = 0,
    Highlighted = 1, // a finger is down on it
    Disabled = 2,
    Selected = 4,
};

constexpr ControlState operator|(ControlState a, ControlState b) {
    return static_cast<ControlState>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// What a control reports to its targets; combine with | to listen to several.
enum class ControlEvent : std::uint32_t {
    TouchDown = 1u << 0,
    TouchDownRepeat = 1u << 1, // a second (or later) tap of a multiple tap landed
    TouchDragInside = 1u << 2,
    TouchDragOutside = 1u << 3,
    TouchDragEnter = 1u << 4,
    TouchDragExit = 1u << 5,
    TouchUpInside = 1u << 6,
    TouchUpOutside = 1u << 7,
    TouchCancel = 1u << 8,
    ValueChanged = 1u << 12,
    EditingDidBegin = 1u << 16,
    EditingChanged = 1u << 17,
    EditingDidEnd = 1u << 18,
    EditingDidEndOnExit = 1u << 19, // the return key ended the editing
};

constexpr ControlEvent operator|(ControlEvent a, ControlEvent b) {
    return static_cast<ControlEvent>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}

constexpr bool hasEvent(ControlEvent mask, ControlEvent event) {
    return (static_cast<std::uint32_t>(mask) & static_cast<std::uint32_t>(event)) != 0;
}

// A view that the user works by touch and that reports what happens to targets: closures registered
// for the events they want. A finger that lands on a control is tracked until it lifts: the control is
// highlighted while the finger stays inside it (with some slack around its bounds), and the finger
// lifting inside is "touch up inside", the usual action of a button.
//
// A disabled control tracks nothing and passes its touches on to the next responder.
//
// Main thread only.
class Control : public View {
public:
    using Action = std::function<void(Control& sender)>;
    using TargetId = std::uint64_t;

    ControlState state() const;
    bool isEnabled() const { return m_enabled; }
    virtual void setEnabled(bool enabled);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted);
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected);
    bool isTracking() const { return m_tracking; }
    // Whether the tracked finger is inside the control (with the slack).
    bool isTouchInside() const { return m_touchInside; }

    // Runs `action` whenever one of `events` happens; answers an id to remove it by. Targets run in the
    // order they were added.
    TargetId addTarget(ControlEvent events, Action action);
    void removeTarget(TargetId id);
    void removeAllTargets();
    // Whether some target listens to `event`.
    bool hasTargetFor(ControlEvent event) const;

    // Runs the targets of `event` now, as if the control had reported it.
    void sendActions(ControlEvent event);

    // Interface files name events by their lower-camel-case names ("touchUpInside", "valueChanged").
    static std::optional<ControlEvent> eventNamed(std::string_view name);
    core::Status connectAction(std::string_view event, std::function<void()> action) override;

    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet& touches, const Event& event) override;

protected:
    explicit Control(const core::Rect& frame);

    // Tracking, for controls that do more than highlight (a slider follows the finger). beginTracking
    // answers whether the control wants the finger's moves at all, continueTracking whether it wants
    // more; either way the control stays highlighted while the finger is inside and reports the touch
    // events.
    virtual bool beginTracking(const Touch& touch, const Event& event);
    virtual bool continueTracking(const Touch& touch, const Event& event);
    virtual void endTracking(const Touch& touch, const Event& event);
    virtual void cancelTracking(const Event& event);

    // The state changed (enabled, highlighted or selected): redraws by default.
    virtual void stateDidChange();

private:
    struct Target {
        TargetId id;
        ControlEvent events;
        Action action;
    };

    bool isInsideWithSlack(const Touch& touch) const;
    void stopTracking();

    std::vector<Target> m_targets;
    TargetId m_nextTargetId = 1;
    const Touch* m_trackedTouch = nullptr; // the finger being tracked, while it is down
    bool m_enabled = true;
    bool m_highlighted = false;
    bool m_selected = false;
    bool m_tracking = false;
    bool m_touchInside = false;
};

} // namespace ui
