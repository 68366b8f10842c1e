#include "platform/ui/PanGestureRecognizer.h"

#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// How far the fingers move before a pan begins.
constexpr float hysteresis = 10;
// Fingers that have not moved for this long (seconds) have come to rest.
constexpr double restingTime = 0.1;

core::Point difference(core::Point to, core::Point from) {
    return {to.x - from.x, to.y - from.y};
}

// A vector of window coordinates in `view`'s coordinates, and back (nullptr stands for the window).
core::Point vectorInView(core::Point vector, const View* view) {
    return view ? difference(view->convertPointFromView(vector, nullptr),
                             view->convertPointFromView({}, nullptr))
                : vector;
}

core::Point vectorInWindow(core::Point vector, const View* view) {
    return view ? difference(view->convertPointToView(vector, nullptr), view->convertPointToView({}, nullptr))
                : vector;
}

} // namespace

std::shared_ptr<PanGestureRecognizer> PanGestureRecognizer::create(Action action) {
    return std::shared_ptr<PanGestureRecognizer>(new PanGestureRecognizer(std::move(action)));
}

core::Point PanGestureRecognizer::centroid() const {
    return locationInView(nullptr);
}

void PanGestureRecognizer::rebase() {
    // Keep the translation continuous when fingers join or leave: the centre jumps, the origin with it.
    const core::Point now = centroid();
    m_origin = {m_origin.x + now.x - m_lastCentroid.x, m_origin.y + now.y - m_lastCentroid.y};
    m_lastCentroid = now;
    m_lastCount = numberOfTouches();
}

void PanGestureRecognizer::touchesBegan(const TouchSet&, const Event& event) {
    if (m_lastCount == 0) {
        m_origin = centroid();
        m_lastCentroid = m_origin;
        m_lastCount = numberOfTouches();
        m_lastTime = event.timestamp();
    }
    if (state() == GestureState::Possible && numberOfTouches() > m_maximumTouches)
        setState(GestureState::Failed);
}

void PanGestureRecognizer::touchesMoved(const TouchSet&, const Event& event) {
    if (numberOfTouches() != m_lastCount)
        rebase();
    const core::Point now = centroid();
    const double elapsed = event.timestamp() - m_lastTime;
    if (elapsed > 0)
        m_velocity = {float((now.x - m_lastCentroid.x) / elapsed),
                      float((now.y - m_lastCentroid.y) / elapsed)};
    m_lastCentroid = now;
    m_lastTime = event.timestamp();
    if (state() == GestureState::Possible) {
        const size_t count = numberOfTouches();
        if (count < m_minimumTouches || count > m_maximumTouches)
            return;
        const core::Point movement = difference(now, m_origin);
        if (std::hypot(movement.x, movement.y) < hysteresis)
            return;
        if (!canBegin(movement)) {
            setState(GestureState::Failed);
            return;
        }
        m_origin = now;
        setState(GestureState::Began);
        return;
    }
    if (state() == GestureState::Began || state() == GestureState::Changed)
        setState(GestureState::Changed);
}

void PanGestureRecognizer::touchesEnded(const TouchSet& touches, const Event& event) {
    // Fingers that rested before lifting have no speed left.
    if (event.timestamp() - m_lastTime > restingTime)
        m_velocity = {};
    const size_t remaining = numberOfTouches() - std::min(numberOfTouches(), touches.size());
    if (state() == GestureState::Possible) {
        if (remaining == 0)
            setState(GestureState::Failed);
        return;
    }
    if (remaining < m_minimumTouches &&
        (state() == GestureState::Began || state() == GestureState::Changed)) {
        if (numberOfTouches() == m_lastCount)
            m_lastCentroid = centroid();
        setState(GestureState::Ended);
    }
}

bool PanGestureRecognizer::canBegin(core::Point) const {
    return true;
}

void PanGestureRecognizer::reset() {
    m_origin = {};
    m_lastCentroid = {};
    m_velocity = {};
    m_lastCount = 0;
}

core::Point PanGestureRecognizer::translationInView(const View* view) const {
    if (numberOfTouches() == 0 && state() == GestureState::Possible)
        return {};
    return vectorInView(difference(m_lastCentroid, m_origin), view);
}

void PanGestureRecognizer::setTranslation(core::Point translation, const View* view) {
    m_origin = difference(m_lastCentroid, vectorInWindow(translation, view));
}

core::Point PanGestureRecognizer::velocityInView(const View* view) const {
    return vectorInView(m_velocity, view);
}

} // namespace ui
