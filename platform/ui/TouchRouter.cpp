#include "platform/ui/TouchRouter.h"

#include "platform/core/DispatchQueue.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

bool isDecided(GestureState state) {
    return state == GestureState::Ended || state == GestureState::Cancelled || state == GestureState::Failed;
}

TouchSet ofPhase(const TouchSet& touches, TouchPhase phase) {
    TouchSet selected;
    std::copy_if(touches.begin(), touches.end(), std::back_inserter(selected),
                 [phase](const std::shared_ptr<Touch>& touch) { return touch->phase() == phase; });
    return selected;
}

} // namespace

template <class Target>
void TouchRouter::dispatch(Target& target, TouchPhase phase, const TouchSet& touches, const Event& event) {
    switch (phase) {
    case TouchPhase::Began:
        target.touchesBegan(touches, event);
        break;
    case TouchPhase::Moved:
        target.touchesMoved(touches, event);
        break;
    case TouchPhase::Ended:
        target.touchesEnded(touches, event);
        break;
    case TouchPhase::Stationary:
        break;
    case TouchPhase::Cancelled:
        target.touchesCancelled(touches, event);
        break;
    }
}

TouchRouter::TouchRouter(std::function<Event()> currentEvent)
    : m_currentEvent(std::move(currentEvent))
    , m_self(std::make_shared<TouchRouter*>(this)) {}

TouchRouter::~TouchRouter() = default;

void TouchRouter::touchBegan(const std::shared_ptr<Touch>& touch, View* view) {
    Route route;
    route.landedAt = touch->timestamp();
    route.touch = touch;
    route.id = m_nextRouteId++;
    for (View* watched = view; watched; watched = watched->superview()) {
        for (const std::shared_ptr<GestureRecognizer>& recognizer : watched->gestureRecognizers()) {
            if (recognizer->isEnabled() && !isDecided(recognizer->state()))
                route.recognizers.push_back(recognizer);
        }
    }
    m_routes[touch.get()] = std::move(route);
}

void TouchRouter::deliver(const TouchSet& changed, const Event& event) {
    for (const TouchPhase phase :
         {TouchPhase::Began, TouchPhase::Moved, TouchPhase::Ended, TouchPhase::Cancelled}) {
        const TouchSet touches = ofPhase(changed, phase);
        if (touches.empty())
            continue;
        deliverToRecognizers(phase, touches, event);
        deliverToViews(phase, touches, event);
    }
    finish(changed);
}

void TouchRouter::deliverToRecognizers(TouchPhase phase, const TouchSet& touches, const Event& event) {
    // Each recogniser once, with the touches it watches, in the order the touches name them.
    std::vector<std::shared_ptr<GestureRecognizer>> recognizers;
    for (const std::shared_ptr<Touch>& touch : touches) {
        const auto route = m_routes.find(touch.get());
        if (route == m_routes.end())
            continue;
        for (const std::weak_ptr<GestureRecognizer>& weak : route->second.recognizers) {
            std::shared_ptr<GestureRecognizer> recognizer = weak.lock();
            if (recognizer &&
                std::find(recognizers.begin(), recognizers.end(), recognizer) == recognizers.end())
                recognizers.push_back(std::move(recognizer));
        }
    }
    for (const std::shared_ptr<GestureRecognizer>& recognizer : recognizers) {
        if (!recognizer->isEnabled() || isDecided(recognizer->state()))
            continue;
        TouchSet watched;
        for (const std::shared_ptr<Touch>& touch : touches) {
            const auto route = m_routes.find(touch.get());
            if (route == m_routes.end())
                continue;
            const auto& list = route->second.recognizers;
            if (std::any_of(list.begin(), list.end(), [&](const std::weak_ptr<GestureRecognizer>& weak) {
                    return weak.lock() == recognizer;
                }))
                watched.push_back(touch);
        }
        const GestureState before = recognizer->state();
        if (phase == TouchPhase::Began)
            recognizer->watch(watched);
        dispatch(*recognizer, phase, watched, event);
        const GestureState after = recognizer->state();
        if (before == GestureState::Possible &&
            (after == GestureState::Began || after == GestureState::Ended))
            recognized(*recognizer, event);
    }
}

void TouchRouter::recognized(GestureRecognizer& recognizer, const Event& event) {
    Delivery cancellations;
    for (const std::shared_ptr<Touch>& touch : recognizer.touches()) {
        const auto found = m_routes.find(touch.get());
        if (found == m_routes.end())
            continue;
        Route& route = found->second;
        // The others that watch the same touches lose them.
        for (const std::weak_ptr<GestureRecognizer>& weak : route.recognizers) {
            const std::shared_ptr<GestureRecognizer> other = weak.lock();
            if (other && other.get() != &recognizer && other->state() == GestureState::Possible)
                other->m_state = GestureState::Failed;
        }
        if (!recognizer.cancelsTouchesInView() || route.taken)
            continue;
        route.taken = true;
        route.held = false;
        if (route.viewBegan)
            add(cancellations, touch);
    }
    send(TouchPhase::Cancelled, cancellations, event);
}

bool TouchRouter::mustHold(const Route& route, double now) const {
    for (const std::weak_ptr<GestureRecognizer>& weak : route.recognizers) {
        const std::shared_ptr<GestureRecognizer> recognizer = weak.lock();
        if (!recognizer || !recognizer->isEnabled() || recognizer->state() != GestureState::Possible)
            continue;
        const double delay = recognizer->touchesBeganDelay();
        if (route.delayPassed && std::isfinite(delay))
            continue;
        if (now - route.landedAt < delay)
            return true;
    }
    return false;
}

void TouchRouter::startReleaseTimer(Route& route) {
    if (route.timed)
        return;
    // The longest finite delay: the infinite ones hold until their recognisers decide anyway.
    double longest = 0;
    for (const std::weak_ptr<GestureRecognizer>& weak : route.recognizers) {
        const std::shared_ptr<GestureRecognizer> recognizer = weak.lock();
        if (recognizer && std::isfinite(recognizer->touchesBeganDelay()))
            longest = std::max(longest, recognizer->touchesBeganDelay());
    }
    if (longest <= 0)
        return;
    route.timed = true;
    core::DispatchQueue::main()->after(core::fromSeconds(longest),
                                       [self = std::weak_ptr<TouchRouter*>(m_self), id = route.id] {
                                           if (const std::shared_ptr<TouchRouter*> router = self.lock())
                                               (*router)->releaseHeld(id);
                                       });
}

void TouchRouter::releaseHeld(std::uint64_t routeId) {
    const auto found = std::find_if(m_routes.begin(), m_routes.end(),
                                    [routeId](const auto& entry) { return entry.second.id == routeId; });
    if (found == m_routes.end())
        return;
    Route& route = found->second;
    route.delayPassed = true;
    const std::shared_ptr<Touch> touch = route.touch.lock();
    if (!route.held || route.taken || !touch || mustHold(route, touch->timestamp()))
        return;
    route.held = false;
    route.viewBegan = true;
    Delivery released;
    add(released, touch);
    send(TouchPhase::Began, released, m_currentEvent ? m_currentEvent() : Event(touch->timestamp(), {touch}));
}

void TouchRouter::deliverToViews(TouchPhase phase, const TouchSet& touches, const Event& event) {
    Delivery released; // held touches-began that may go out now
    Delivery delivery;
    for (const std::shared_ptr<Touch>& touch : touches) {
        Route& route = m_routes[touch.get()];
        if (route.taken)
            continue;
        const bool lifting = phase == TouchPhase::Ended || phase == TouchPhase::Cancelled;
        if (phase == TouchPhase::Began || route.held) {
            if (!lifting && mustHold(route, event.timestamp())) {
                route.held = true;
                startReleaseTimer(route);
                continue;
            }
            if (route.held && phase == TouchPhase::Cancelled)
                continue; // the view never knew of the finger
            route.held = false;
            route.viewBegan = true;
            if (phase != TouchPhase::Began)
                add(released, touch);
        }
        add(delivery, touch);
    }
    send(TouchPhase::Began, released, event);
    send(phase, delivery, event);
}

void TouchRouter::add(Delivery& delivery, const std::shared_ptr<Touch>& touch) {
    std::shared_ptr<View> view = touch->view() ? touch->view()->shared_from_this() : nullptr;
    if (!view)
        return;
    const auto found = std::find_if(delivery.begin(), delivery.end(),
                                    [&](const auto& entry) { return entry.first == view; });
    if (found == delivery.end())
        delivery.emplace_back(std::move(view), TouchSet{touch});
    else
        found->second.push_back(touch);
}

void TouchRouter::send(TouchPhase phase, const Delivery& delivery, const Event& event) {
    for (const auto& [view, touches] : delivery)
        dispatch(*view, phase, touches, event);
}

void TouchRouter::finish(const TouchSet& changed) {
    for (const std::shared_ptr<Touch>& touch : changed) {
        if (touch->phase() != TouchPhase::Ended && touch->phase() != TouchPhase::Cancelled)
            continue;
        const auto found = m_routes.find(touch.get());
        if (found == m_routes.end())
            continue;
        const TouchSet lifted{touch};
        for (const std::weak_ptr<GestureRecognizer>& weak : found->second.recognizers) {
            if (const std::shared_ptr<GestureRecognizer> recognizer = weak.lock())
                recognizer->forget(lifted);
        }
        m_routes.erase(found);
    }
}

} // namespace ui
