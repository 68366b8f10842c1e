#include "platform/ui/ViewAnimation.h"

#include "platform/core/DispatchQueue.h"
#include "platform/ui/AnimationEngine.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewAnimationBlock.h"

#include <cassert>
#include <cmath>
#include <vector>

namespace ui {

namespace {

// A block opened by beginAnimations, until its commit.
struct NamedBlock {
    std::unique_ptr<ViewAnimationBlock> block;
    // Read by the completion, which outlives the block.
    struct Listener {
        std::string name;
        std::any context;
        std::weak_ptr<AnimationDelegate> delegate;
    };
    std::shared_ptr<Listener> listener;
};

std::vector<NamedBlock>& namedBlocks() {
    static std::vector<NamedBlock> blocks;
    return blocks;
}

// Without a running engine nothing animates: changes take effect at once, and a completion runs on the
// next turn of the main loop (when one runs; there is nothing to run it otherwise).
void completeLater(std::function<void(bool)> completion, bool finished) {
    if (completion)
        core::DispatchQueue::main()->async(
            [completion = std::move(completion), finished] { completion(finished); });
}

// Opens a block on the engine; a block nested in another takes its timing. Without an engine there is
// no block, and the completion is scheduled at once.
std::unique_ptr<ViewAnimationBlock> openBlock(ViewAnimationBlock::Settings settings,
                                              std::function<void(bool)> completion) {
    AnimationEngine* engine = AnimationEngine::current();
    if (!engine) {
        completeLater(std::move(completion), true);
        return nullptr;
    }
    if (ViewAnimationBlock* outer = engine->innermostBlock()) {
        settings.duration = outer->settings().duration;
        settings.delay = outer->settings().delay;
        settings.curve = outer->settings().curve;
    }
    auto block = std::make_unique<ViewAnimationBlock>(
        settings, std::make_shared<AnimationGroup>(std::move(completion)));
    engine->open(block->group(), block.get());
    return block;
}

void closeBlock(ViewAnimationBlock* block) {
    AnimationEngine* engine = AnimationEngine::current();
    if (!block || !engine)
        return;
    engine->close();
    block->group()->close(block->span());
}

ViewAnimationBlock::Settings settingsFor(const AnimationParameters& parameters) {
    ViewAnimationBlock::Settings settings;
    settings.duration = parameters.duration;
    settings.delay = parameters.delay;
    settings.curve = parameters.curve;
    const bool repeats = hasOption(parameters.options, AnimationOptions::Repeat);
    settings.repeatCount = parameters.repeatCount > 0 ? parameters.repeatCount : (repeats ? INFINITY : 0);
    settings.autoreverses = hasOption(parameters.options, AnimationOptions::Autoreverse);
    settings.beginFromCurrentState = hasOption(parameters.options, AnimationOptions::BeginFromCurrentState);
    settings.allowUserInteraction = hasOption(parameters.options, AnimationOptions::AllowUserInteraction);
    return settings;
}

// The block that the setters adjust; nullptr without beginAnimations or without an engine.
ViewAnimationBlock* topNamedBlock() {
    assert(!namedBlocks().empty() && "no beginAnimations to adjust");
    return namedBlocks().empty() ? nullptr : namedBlocks().back().block.get();
}

} // namespace

void animate(const AnimationParameters& parameters, const std::function<void()>& changes,
             std::function<void(bool finished)> completion) {
    std::unique_ptr<ViewAnimationBlock> block = openBlock(settingsFor(parameters), std::move(completion));
    if (changes)
        changes();
    closeBlock(block.get());
}

void beginAnimations(std::string name, std::any context) {
    auto listener = std::make_shared<NamedBlock::Listener>(NamedBlock::Listener{std::move(name), std::move(context), {}});
    auto completion = [listener](bool finished) {
        if (std::shared_ptr<AnimationDelegate> delegate = listener->delegate.lock())
            delegate->animationDidStop(listener->name, finished, listener->context);
    };
    namedBlocks().push_back({openBlock({}, std::move(completion)), std::move(listener)});
}

void setAnimationDuration(double seconds) {
    if (ViewAnimationBlock* block = topNamedBlock())
        block->settings().duration = seconds;
}

void setAnimationDelay(double seconds) {
    if (ViewAnimationBlock* block = topNamedBlock())
        block->settings().delay = seconds;
}

void setAnimationCurve(AnimationCurve curve) {
    if (ViewAnimationBlock* block = topNamedBlock())
        block->settings().curve = curve;
}

void setAnimationRepeatCount(double count) {
    if (ViewAnimationBlock* block = topNamedBlock())
        block->settings().repeatCount = count;
}

void setAnimationRepeatAutoreverses(bool autoreverses) {
    if (ViewAnimationBlock* block = topNamedBlock())
        block->settings().autoreverses = autoreverses;
}

void setAnimationBeginsFromCurrentState(bool fromCurrentState) {
    if (ViewAnimationBlock* block = topNamedBlock())
        block->settings().beginFromCurrentState = fromCurrentState;
}

void setAnimationDelegate(std::weak_ptr<AnimationDelegate> delegate) {
    assert(!namedBlocks().empty());
    if (!namedBlocks().empty())
        namedBlocks().back().listener->delegate = std::move(delegate);
}

void commitAnimations() {
    assert(!namedBlocks().empty() && "commitAnimations without beginAnimations");
    if (namedBlocks().empty())
        return;
    NamedBlock named = std::move(namedBlocks().back());
    namedBlocks().pop_back();
    closeBlock(named.block.get());
}

void animateKeyframes(const AnimationParameters& parameters, KeyframeCurve curve,
                      const std::function<void()>& keyframes, std::function<void(bool finished)> completion) {
    std::unique_ptr<ViewAnimationBlock> block = openBlock(settingsFor(parameters), std::move(completion));
    if (block && block->animates())
        block->recordKeyframes(curve);
    if (keyframes)
        keyframes();
    if (block)
        block->makeKeyframeAnimations();
    closeBlock(block.get());
}

void addKeyframe(double relativeStart, double relativeDuration, const std::function<void()>& changes) {
    AnimationEngine* engine = AnimationEngine::current();
    ViewAnimationBlock* block = engine ? engine->innermostBlock() : nullptr;
    if (block)
        block->setKeyframeSpan(relativeStart, relativeDuration);
    if (changes)
        changes();
    // Changes made outside any keyframe span the whole duration.
    if (block)
        block->setKeyframeSpan(0, 1);
}

void transition(View& from, std::shared_ptr<View> to, const AnimationParameters& parameters,
                const std::function<void()>& changes, std::function<void(bool finished)> completion) {
    View* container = from.superview();
    if (!container || !to) {
        completeLater(std::move(completion), false);
        return;
    }
    container->addSubview(std::move(to));
    animate(parameters, changes,
            [outgoing = from.weak_from_this(), completion = std::move(completion)](bool finished) {
                if (const std::shared_ptr<View> view = outgoing.lock())
                    view->removeFromSuperview();
                if (completion)
                    completion(finished);
            });
}

bool areAnimationsEnabled() {
    const AnimationEngine* engine = AnimationEngine::current();
    return engine && engine->areAnimationsEnabled();
}

void setAnimationsEnabled(bool enabled) {
    if (AnimationEngine* engine = AnimationEngine::current())
        engine->setAnimationsEnabled(enabled);
}

void performWithoutAnimation(const std::function<void()>& changes) {
    AnimationEngine* engine = AnimationEngine::current();
    const bool enabled = engine && engine->areAnimationsEnabled();
    if (engine)
        engine->setAnimationsEnabled(false);
    if (changes)
        changes();
    if (engine)
        engine->setAnimationsEnabled(enabled);
}

} // namespace ui
