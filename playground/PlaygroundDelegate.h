#pragma once

#include <memory>

namespace zm {

class Expr;
class Playground;
class Step;

// The messages of `PlaygroundDelegate`, for asking a delegate which of them it takes.
enum class PlaygroundMessage {
    WillExecuteStep,
    ExecutedStep,
    PresentedModalPlayground,
    DismissedModalPlayground,
    StartedNewProblem,
    DidErrorStep,
    DidExponentCombineStep,
    AnimationComplete,
    TouchBegan,
    ShowComplete,
    // Sent by the long-division playground to its own delegate.
    DroppedDigit,
    FoundMultiple,
    DraggedOver,
    DroppedRemainder,
    FoundInitialDecimal,
    FoundPattern,
};

// What a playground view tells the screen that hosts it. Every message is optional: a sender asks
// `respondsTo` first and sends only what the delegate takes. The operations do nothing unless
// overridden; a delegate that overrides some says which in `respondsTo` when it must not hear the
// others (by default it takes every message).
class PlaygroundDelegate {
public:
    virtual ~PlaygroundDelegate() = default;

    virtual bool respondsTo(PlaygroundMessage) const { return true; }

    // Before a step is applied, with the root expression before it; with no step when a modal
    // playground opens.
    virtual void willExecuteStep(const std::shared_ptr<Step>&, const std::shared_ptr<Expr>&) {}
    // After a step was applied (its animation runs) or after the modal playground it asked for opened;
    // with no step after a modal playground closed.
    virtual void executedStep(const std::shared_ptr<Step>&) {}
    virtual void presentedModalPlayground(const std::shared_ptr<Playground>&) {}
    // With no playground when a new problem closed one.
    virtual void dismissedModalPlayground(const std::shared_ptr<Playground>&) {}
    virtual void startedNewProblem() {}
    // A step was refused: its terms shake.
    virtual void didErrorStep() {}
    virtual void didExponentCombineStep() {}
    // Every running settle animation of the main playground has ended.
    virtual void animationComplete() {}
    // A real finger touched the playground, before the touch is handled.
    virtual void touchBegan() {}
    virtual void showComplete() {}
    virtual void droppedDigit() {}
    virtual void foundMultiple() {}
    virtual void draggedOver() {}
    virtual void droppedRemainder() {}
    virtual void foundInitialDecimal() {}
    virtual void foundPattern() {}
};

} // namespace zm
