#include "platform/ui/TapGestureRecognizer.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// A finger that moves farther than this is no longer tapping.
constexpr float allowableMovement = 10;

} // namespace

std::shared_ptr<TapGestureRecognizer> TapGestureRecognizer::create(Action action) {
    return std::shared_ptr<TapGestureRecognizer>(new TapGestureRecognizer(std::move(action)));
}

void TapGestureRecognizer::touchesBegan(const TouchSet& touches, const Event&) {
    for (const std::shared_ptr<Touch>& touch : touches)
        m_starts.push_back({touch.get(), touch->locationInView(nullptr)});
    if (m_starts.size() > m_touchesRequired)
        setState(GestureState::Failed);
}

void TapGestureRecognizer::touchesMoved(const TouchSet& touches, const Event&) {
    for (const std::shared_ptr<Touch>& touch : touches) {
        const auto start = std::find_if(m_starts.begin(), m_starts.end(),
                                        [&](const Start& entry) { return entry.touch == touch.get(); });
        if (start == m_starts.end())
            continue;
        const core::Point now = touch->locationInView(nullptr);
        if (std::hypot(now.x - start->location.x, now.y - start->location.y) > allowableMovement) {
            setState(GestureState::Failed);
            return;
        }
    }
}

void TapGestureRecognizer::touchesEnded(const TouchSet& touches, const Event&) {
    m_lifted += touches.size();
    if (m_lifted < numberOfTouches())
        return;
    const bool enoughTaps =
        std::all_of(touches.begin(), touches.end(), [this](const std::shared_ptr<Touch>& touch) {
            return touch->tapCount() >= m_tapsRequired;
        });
    setState(m_starts.size() == m_touchesRequired && enoughTaps ? GestureState::Ended : GestureState::Failed);
}

void TapGestureRecognizer::reset() {
    m_starts.clear();
    m_lifted = 0;
}

} // namespace ui
