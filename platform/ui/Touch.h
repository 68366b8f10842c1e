#pragma once

#include "platform/core/Geometry.h"

#include <memory>
#include <vector>

namespace ui {

class View;
class Window;

enum class TouchPhase {
    Began,
    Moved,
    Stationary,
    Ended,
    Cancelled,
};

// One finger on the screen, from the moment it lands until it lifts: the same object throughout, with
// its latest position. It belongs to the view it landed on, which receives all its events, wherever it
// moves.
class Touch {
public:
    TouchPhase phase() const { return m_phase; }
    // When the touch last changed, in seconds of the main loop's clock.
    double timestamp() const { return m_timestamp; }
    // 1 for a single tap, 2 for the second of a double tap, ...
    int tapCount() const { return m_tapCount; }
    // The view it landed on (nullptr once that view is gone) and its window.
    View* view() const { return m_view.lock().get(); }
    Window* window() const { return m_window; }

    // The position in `view`'s coordinates (the window's for nullptr), now and at the previous event.
    core::Point locationInView(const View* view) const;
    core::Point previousLocationInView(const View* view) const;

private:
    friend class Window;

    TouchPhase m_phase = TouchPhase::Began;
    double m_timestamp = 0;
    int m_tapCount = 1;
    core::Point m_location;         // in window coordinates
    core::Point m_previousLocation; // in window coordinates
    std::weak_ptr<View> m_view;
    Window* m_window = nullptr;
};

using TouchSet = std::vector<std::shared_ptr<Touch>>;

// Whether `touches` carry `touch` (never for nullptr).
bool contains(const TouchSet& touches, const Touch* touch);

// The touches of one moment of input: those that changed (handed to each view, its own among them) and
// every finger on the screen.
class Event {
public:
    Event(double timestamp, TouchSet allTouches)
        : m_timestamp(timestamp)
        , m_allTouches(std::move(allTouches)) {}

    double timestamp() const { return m_timestamp; }
    const TouchSet& allTouches() const { return m_allTouches; }
    // The touches that belong to `view`.
    TouchSet touchesForView(const View& view) const;

private:
    double m_timestamp;
    TouchSet m_allTouches;
};

// What handles touches: a view, or the view controller behind a view. What one does not handle goes on
// to its next responder.
class Responder {
public:
    virtual ~Responder() = default;

    virtual Responder* nextResponder() const { return nullptr; }

    // Each forwards to the next responder unless overridden.
    virtual void touchesBegan(const TouchSet& touches, const Event& event);
    virtual void touchesMoved(const TouchSet& touches, const Event& event);
    virtual void touchesEnded(const TouchSet& touches, const Event& event);
    virtual void touchesCancelled(const TouchSet& touches, const Event& event);
};

} // namespace ui
