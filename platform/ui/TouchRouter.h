#pragma once

#include "platform/ui/Touch.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace ui {

class GestureRecognizer;

// Hands the touches of each moment of input first to the gesture recognisers that watch them and then,
// as far as those leave them, to the views they belong to (see GestureRecognizer for the rules). The
// window owns one and feeds it every finger that lands and every moment of input.
//
// A touches-began held back for a recogniser's delay goes out with the next input after the delay, or,
// for a finger that stays still, when a timer on the main loop runs out.
//
// Main thread only.
class TouchRouter {
public:
    // `currentEvent` answers the moment of input that a timer's release belongs to (every finger down).
    explicit TouchRouter(std::function<Event()> currentEvent);
    ~TouchRouter();
    TouchRouter(const TouchRouter&) = delete;
    TouchRouter& operator=(const TouchRouter&) = delete;

    // A finger landed on `view` (nullptr: on nothing that takes it): the enabled recognisers of the view
    // and of its superviews, the nearest first, watch it until it lifts.
    void touchBegan(const std::shared_ptr<Touch>& touch, View* view);
    // Delivers the touches that changed in one moment, phase by phase (began, moved, ended, cancelled);
    // views get theirs grouped by view. Fingers that lifted are forgotten afterwards.
    void deliver(const TouchSet& changed, const Event& event);

private:
    struct Route {
        std::vector<std::weak_ptr<GestureRecognizer>> recognizers;
        bool viewBegan = false; // the view has been sent touches-began
        bool taken = false;     // a recogniser took the touch: the view gets nothing more of it
        bool held = false;      // touches-began is held back from the view
        bool timed = false;     // a timer will release it once the finite delays have passed
        bool delayPassed = false;
        double landedAt = 0;
        std::weak_ptr<Touch> touch;
        std::uint64_t id = 0;
    };
    using Delivery = std::vector<std::pair<std::shared_ptr<View>, TouchSet>>;

    void deliverToRecognizers(TouchPhase phase, const TouchSet& touches, const Event& event);
    void deliverToViews(TouchPhase phase, const TouchSet& touches, const Event& event);
    void recognized(GestureRecognizer& recognizer, const Event& event);
    // Whether touches-began must still be held back from the touch's view at `now`.
    bool mustHold(const Route& route, double now) const;
    void startReleaseTimer(Route& route);
    void releaseHeld(std::uint64_t routeId);
    void finish(const TouchSet& changed);
    static void add(Delivery& delivery, const std::shared_ptr<Touch>& touch);
    static void send(TouchPhase phase, const Delivery& delivery, const Event& event);
    // Hands `touches` to the operation of `phase` of a view or a recogniser.
    template <class Target>
    static void dispatch(Target& target, TouchPhase phase, const TouchSet& touches, const Event& event);

    std::map<const Touch*, Route> m_routes;
    std::function<Event()> m_currentEvent;
    std::uint64_t m_nextRouteId = 1;
    // Timers hold this weakly: a release that comes after the router is gone does nothing.
    std::shared_ptr<TouchRouter*> m_self;
};

} // namespace ui
