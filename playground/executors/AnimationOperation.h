#pragma once

#include "playground/executors/CustomOperation.h"

#include <functional>
#include <memory>

namespace zm {

// Animates the changes of a closure (ease-out) and holds the gesture for the animation's duration.
// The operation ends when the duration is up on the clock, not when the animation reports back, so a
// gesture keeps its pace also where no animation runs (views off screen, animations switched off).
class AnimationOperation : public CustomOperation {
public:
    static std::shared_ptr<AnimationOperation> animationOperationWithDuration(float duration,
                                                                              std::function<void()> block);

    float duration() const { return m_duration; }
    const std::function<void()>& animationBlock() const { return m_animationBlock; }

    AnimationOperation(float duration, std::function<void()> block)
        : m_duration(duration)
        , m_animationBlock(std::move(block)) {}

protected:
    void begin() override;

private:
    float m_duration;
    std::function<void()> m_animationBlock;
};

} // namespace zm
