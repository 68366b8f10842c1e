#pragma once

#include "platform/ui/Touch.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

namespace ui {

class View;

// The values are those the screens compare with (3 is "ended").
enum class GestureState {
    Possible = 0, // watching the touches
    Began = 1,    // a continuous gesture was recognised
    Changed = 2,
    Ended = 3, // a continuous gesture ended, or a discrete one (a tap) was recognised
    Cancelled = 4,
    Failed = 5, // the touches were not this gesture
};

// Watches the touches that land on its view or on the view's subviews, before those views get them,
// and tells its targets when it recognises its gesture and how the gesture goes on. A continuous
// gesture (pan, pinch) reports Began, then Changed for every change, then Ended (or Cancelled); a
// discrete one (tap) reports Ended once.
//
// Once it recognises its gesture, the other recognisers still watching the same touches fail, and,
// unless told otherwise, the views stop getting those touches: the view under the finger is sent
// touches-cancelled. A recogniser may also hold back touches-began from the views until it fails
// (or a while has passed), so that a view under a scroll does not react to a finger that scrolls.
//
// After the last of its touches has lifted, the recogniser returns to Possible for the next gesture.
//
// Main thread only.
class GestureRecognizer : public std::enable_shared_from_this<GestureRecognizer> {
public:
    using Action = std::function<void(GestureRecognizer& recognizer)>;

    virtual ~GestureRecognizer();
    GestureRecognizer(const GestureRecognizer&) = delete;
    GestureRecognizer& operator=(const GestureRecognizer&) = delete;

    GestureState state() const { return m_state; }
    // The view it watches (nullptr until added to one, or once that view is gone).
    View* view() const;

    // Runs on every reported state. Targets run in the order they were added.
    void addTarget(Action action);

    // A disabled recogniser watches no new touches; disabling one in the middle of its gesture cancels
    // the gesture (its targets hear Cancelled).
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    bool cancelsTouchesInView() const { return m_cancelsTouchesInView; }
    void setCancelsTouchesInView(bool cancels) { m_cancelsTouchesInView = cancels; }
    // Holds touches-began back from the views while the recogniser has not yet decided, for at most
    // `seconds` (forever: until it fails or the finger lifts).
    double touchesBeganDelay() const { return m_beganDelay; }
    void setDelaysTouchesBegan(bool delays, double seconds = std::numeric_limits<double>::infinity());

    // The touches it is watching now.
    size_t numberOfTouches() const { return m_touches.size(); }
    // The centre of its touches in `view`'s coordinates (the window's for nullptr).
    core::Point locationInView(const View* view) const;
    core::Point locationOfTouch(size_t index, const View* view) const;

protected:
    // `action`, when there is one, is the first target.
    explicit GestureRecognizer(Action action = {});

    // The touches, as they come; each subclass decides its state from them.
    virtual void touchesBegan(const TouchSet& touches, const Event& event);
    virtual void touchesMoved(const TouchSet& touches, const Event& event);
    virtual void touchesEnded(const TouchSet& touches, const Event& event);
    virtual void touchesCancelled(const TouchSet& touches, const Event& event);
    // Back to Possible: forget the last gesture.
    virtual void reset();

    // Moves to `state` and tells the targets (not for Possible or Failed).
    void setState(GestureState state);

    const std::vector<std::shared_ptr<Touch>>& touches() const { return m_touches; }

private:
    friend class TouchRouter;
    friend class View;

    void watch(const TouchSet& touches);
    void forget(const TouchSet& touches);
    void finishGesture();

    std::weak_ptr<View> m_view;
    std::vector<Action> m_targets;
    std::vector<std::shared_ptr<Touch>> m_touches;
    GestureState m_state = GestureState::Possible;
    bool m_enabled = true;
    bool m_cancelsTouchesInView = true;
    double m_beganDelay = 0;
};

} // namespace ui
