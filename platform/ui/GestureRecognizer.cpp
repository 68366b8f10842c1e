#include "platform/ui/GestureRecognizer.h"

#include "platform/ui/View.h"

#include <algorithm>

namespace ui {

GestureRecognizer::GestureRecognizer(Action action) {
    if (action)
        m_targets.push_back(std::move(action));
}

GestureRecognizer::~GestureRecognizer() = default;

View* GestureRecognizer::view() const {
    return m_view.lock().get();
}

void GestureRecognizer::addTarget(Action action) {
    m_targets.push_back(std::move(action));
}

void GestureRecognizer::setEnabled(bool enabled) {
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    if (enabled)
        return;
    if (m_state == GestureState::Began || m_state == GestureState::Changed)
        setState(GestureState::Cancelled);
    else if (m_state == GestureState::Possible && !m_touches.empty())
        m_state = GestureState::Failed;
}

void GestureRecognizer::setDelaysTouchesBegan(bool delays, double seconds) {
    m_beganDelay = delays ? std::max(0.0, seconds) : 0;
}

core::Point GestureRecognizer::locationInView(const View* view) const {
    if (m_touches.empty())
        return {};
    core::Point sum;
    for (const std::shared_ptr<Touch>& touch : m_touches) {
        const core::Point location = touch->locationInView(view);
        sum.x += location.x;
        sum.y += location.y;
    }
    const float count = float(m_touches.size());
    return {sum.x / count, sum.y / count};
}

core::Point GestureRecognizer::locationOfTouch(size_t index, const View* view) const {
    return index < m_touches.size() ? m_touches[index]->locationInView(view) : core::Point{};
}

void GestureRecognizer::setState(GestureState state) {
    m_state = state;
    if (state == GestureState::Possible || state == GestureState::Failed)
        return;
    // A target may disable the recogniser or drop the last reference to it: keep it alive and run on a
    // copy of the targets.
    const std::shared_ptr<GestureRecognizer> keep = shared_from_this();
    const std::vector<Action> targets = m_targets;
    for (const Action& target : targets) {
        if (target)
            target(*this);
    }
}

void GestureRecognizer::watch(const TouchSet& touches) {
    for (const std::shared_ptr<Touch>& touch : touches) {
        if (std::find(m_touches.begin(), m_touches.end(), touch) == m_touches.end())
            m_touches.push_back(touch);
    }
}

void GestureRecognizer::forget(const TouchSet& touches) {
    const size_t before = m_touches.size();
    std::erase_if(m_touches, [&](const std::shared_ptr<Touch>& touch) {
        return std::find(touches.begin(), touches.end(), touch) != touches.end();
    });
    if (before > 0 && m_touches.empty())
        finishGesture();
}

void GestureRecognizer::finishGesture() {
    // A continuous gesture whose fingers all lifted without the subclass ending it is over all the same.
    if (m_state == GestureState::Began || m_state == GestureState::Changed)
        setState(GestureState::Cancelled);
    m_state = GestureState::Possible;
    reset();
}

void GestureRecognizer::touchesBegan(const TouchSet&, const Event&) {}

void GestureRecognizer::touchesMoved(const TouchSet&, const Event&) {}

void GestureRecognizer::touchesEnded(const TouchSet&, const Event&) {}

void GestureRecognizer::touchesCancelled(const TouchSet&, const Event&) {
    if (m_state == GestureState::Began || m_state == GestureState::Changed)
        setState(GestureState::Cancelled);
    else if (m_state == GestureState::Possible)
        m_state = GestureState::Failed;
}

void GestureRecognizer::reset() {}

} // namespace ui
