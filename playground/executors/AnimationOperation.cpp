#include "playground/executors/AnimationOperation.h"

#include "platform/core/DispatchQueue.h"
#include "platform/ui/ViewAnimation.h"

namespace zm {

std::shared_ptr<AnimationOperation>
AnimationOperation::animationOperationWithDuration(float duration, std::function<void()> block) {
    return std::make_shared<AnimationOperation>(duration, std::move(block));
}

void AnimationOperation::begin() {
    ui::AnimationParameters parameters;
    parameters.duration = m_duration;
    parameters.curve = ui::AnimationCurve::EaseOut;
    ui::animate(parameters, [this] {
        if (m_animationBlock)
            m_animationBlock();
    });
    // The timer holds the operation until it finishes it.
    core::DispatchQueue::main()->after(core::fromSeconds(m_duration),
                                       [this, self = shared_from_this()] { finish(); });
}

} // namespace zm
