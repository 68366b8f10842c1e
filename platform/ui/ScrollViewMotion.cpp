#include "platform/ui/ScrollViewParts.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// A flick's speed falls to this share of itself every millisecond.
constexpr double decelerationRate = 0.998;
// Slower than this (points a second) the content stops.
constexpr float restingSpeed = 10;

// Ease out: fast at first, settling gently.
double easeOut(double t) {
    const double rest = 1 - t;
    return 1 - rest * rest * rest;
}

core::Point lerp(core::Point from, core::Point to, double share) {
    return {float(from.x + (to.x - from.x) * share), float(from.y + (to.y - from.y) * share)};
}

} // namespace

ScrollView::Motion::~Motion() {
    unregister();
}

void ScrollView::Motion::glide(core::Point to, double duration, Arrival arrival) {
    m_kind = Kind::Glide;
    m_from = m_owner.contentOffset();
    m_to = to;
    m_duration = duration;
    m_elapsed = 0;
    m_arrival = arrival;
    start();
}

void ScrollView::Motion::coast(core::Point velocity) {
    m_kind = Kind::Coast;
    m_velocity = velocity;
    m_arrival = Arrival::Decelerating;
    start();
}

void ScrollView::Motion::stop() {
    m_kind = Kind::None;
    unregister();
}

void ScrollView::Motion::start() {
    if (m_engine)
        return;
    m_engine = AnimationEngine::current();
    if (m_engine) {
        m_engine->addFrameObserver(*this);
        return;
    }
    // Nothing animates: the content arrives at once.
    const Kind kind = m_kind;
    m_kind = Kind::None;
    if (kind == Kind::Glide)
        m_owner.applyOffset(m_to);
    else
        m_owner.applyOffset(m_owner.clamped(m_owner.contentOffset()));
    m_owner.arrived(m_arrival);
}

void ScrollView::Motion::unregister() {
    // An engine that is no longer current has ended (engines nest), taking its observers with it.
    if (m_engine && m_engine == AnimationEngine::current())
        m_engine->removeFrameObserver(*this);
    m_engine = nullptr;
}

void ScrollView::Motion::advance(double elapsed) {
    const std::shared_ptr<View> keep = m_owner.shared_from_this();
    if (m_kind == Kind::Glide)
        advanceGlide(elapsed);
    else if (m_kind == Kind::Coast)
        advanceCoast(elapsed);
    else
        unregister();
}

void ScrollView::Motion::advanceGlide(double elapsed) {
    m_elapsed += elapsed;
    const double share = m_duration > 0 ? std::min(1.0, m_elapsed / m_duration) : 1.0;
    const Arrival arrival = m_arrival;
    if (share >= 1)
        stop();
    m_owner.applyOffset(lerp(m_from, m_to, easeOut(share)));
    if (share >= 1)
        m_owner.arrived(arrival);
}

void ScrollView::Motion::advanceCoast(double elapsed) {
    const double decay = std::pow(decelerationRate, elapsed * 1000);
    m_velocity = {float(m_velocity.x * decay), float(m_velocity.y * decay)};
    const core::Point offset = m_owner.contentOffset();
    const core::Point moved{float(offset.x + m_velocity.x * elapsed),
                            float(offset.y + m_velocity.y * elapsed)};
    const core::Point inside = m_owner.clamped(moved);
    if (moved != inside && !m_owner.m_bounces) {
        // An edge stops the content along its axis.
        if (moved.x != inside.x)
            m_velocity.x = 0;
        if (moved.y != inside.y)
            m_velocity.y = 0;
    }
    m_owner.applyOffset(m_owner.m_bounces ? moved : inside);
    if (m_kind != Kind::Coast)
        return; // the delegate took over
    if (m_owner.m_bounces && moved != inside) {
        glide(inside, scrolling::springBackDuration, Arrival::Decelerating);
        return;
    }
    if (std::hypot(m_velocity.x, m_velocity.y) < restingSpeed) {
        stop();
        m_owner.arrived(Arrival::Decelerating);
    }
}

} // namespace ui
