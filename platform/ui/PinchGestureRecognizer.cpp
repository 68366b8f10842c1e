#include "platform/ui/PinchGestureRecognizer.h"

#include <cmath>

namespace ui {

namespace {

// How much the fingers' distance changes before a pinch begins.
constexpr float hysteresis = 4;

} // namespace

std::shared_ptr<PinchGestureRecognizer> PinchGestureRecognizer::create(Action action) {
    return std::shared_ptr<PinchGestureRecognizer>(new PinchGestureRecognizer(std::move(action)));
}

float PinchGestureRecognizer::distance() const {
    if (numberOfTouches() < 2)
        return 0;
    const core::Point a = locationOfTouch(0, nullptr);
    const core::Point b = locationOfTouch(1, nullptr);
    return std::hypot(b.x - a.x, b.y - a.y);
}

void PinchGestureRecognizer::setScale(float scale) {
    // The current distance now stands for `scale`.
    m_scale = scale;
    if (scale > 0 && distance() > 0)
        m_startDistance = distance() / scale;
}

void PinchGestureRecognizer::touchesBegan(const TouchSet&, const Event&) {
    if (numberOfTouches() > 2 && state() == GestureState::Possible)
        setState(GestureState::Failed);
    else if (numberOfTouches() == 2)
        m_startDistance = distance();
}

void PinchGestureRecognizer::touchesMoved(const TouchSet&, const Event&) {
    if (numberOfTouches() != 2 || m_startDistance <= 0)
        return;
    const float now = distance();
    if (state() == GestureState::Possible) {
        if (std::abs(now - m_startDistance) < hysteresis)
            return;
        m_startDistance = now;
        m_scale = 1;
        setState(GestureState::Began);
        return;
    }
    if (state() == GestureState::Began || state() == GestureState::Changed) {
        m_scale = now / m_startDistance;
        setState(GestureState::Changed);
    }
}

void PinchGestureRecognizer::touchesEnded(const TouchSet&, const Event&) {
    if (state() == GestureState::Began || state() == GestureState::Changed)
        setState(GestureState::Ended);
    else if (state() == GestureState::Possible)
        setState(GestureState::Failed);
}

void PinchGestureRecognizer::reset() {
    m_startDistance = 0;
    m_scale = 1;
}

} // namespace ui
