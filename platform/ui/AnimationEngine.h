#pragma once

#include "platform/core/Clock.h"

#include <functional>
#include <memory>
#include <vector>

namespace core {
class MainLoop;
}

namespace ui {

class Layer;
class ViewAnimationBlock;

// Waits for the animations of one view animation block or transaction and then calls its completion,
// once, on a later turn of the main loop: with true when every one of them ran to its end.
class AnimationGroup : public std::enable_shared_from_this<AnimationGroup> {
public:
    using Completion = std::function<void(bool finished)>;

    explicit AnimationGroup(Completion completion);

    void join();
    void leave(bool finished);
    // No animation joins any more. A group that none joined completes after `linger` seconds (a view
    // animation block without changes still takes its duration).
    void close(double linger);

private:
    void complete();

    Completion m_completion;
    int m_pending = 0;
    bool m_finished = true;
    bool m_closed = false;
    bool m_completed = false;
};

// Something that moves on every frame besides layer animations (a dynamic animator).
class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    // `elapsed` is the time since the previous frame (or since frames started).
    virtual void advance(double elapsed) = 0;
};

// The clock work of animations: it keeps the layers that have animations, asks the main loop for frames
// while any exist, stops the animations that have ended on each frame and hands their completions to
// the main loop. It also holds the view animation blocks and transactions being built.
//
// One engine runs at a time, on the main loop's thread: construct it after the main loop and destroy it
// before; it installs itself as current() until then. Layers without an engine do not animate.
class AnimationEngine {
public:
    explicit AnimationEngine(core::MainLoop& loop);
    ~AnimationEngine();
    AnimationEngine(const AnimationEngine&) = delete;
    AnimationEngine& operator=(const AnimationEngine&) = delete;

    static AnimationEngine* current();

    // The current time in seconds on the main loop's clock.
    double now() const;

    // Runs `work` on a later turn of the main loop, or `seconds` later.
    void post(std::function<void()> work);
    void postAfter(double seconds, std::function<void()> work);

    void track(Layer& layer);
    void untrack(Layer& layer);

    void addFrameObserver(FrameObserver& observer);
    void removeFrameObserver(FrameObserver& observer);

    // The global switch: while off, view animation blocks change everything at once (their completions
    // still run, on a later turn).
    bool areAnimationsEnabled() const { return m_enabled; }
    void setAnimationsEnabled(bool enabled) { m_enabled = enabled; }

    // Blocks and transactions being built, innermost last.
    void open(std::shared_ptr<AnimationGroup> group, ViewAnimationBlock* block);
    void close();
    // The innermost open view animation block, or nullptr.
    ViewAnimationBlock* innermostBlock() const;
    // The group of the innermost open block or transaction, or nullptr.
    const std::shared_ptr<AnimationGroup>& innermostGroup() const;

private:
    struct Scope {
        std::shared_ptr<AnimationGroup> group;
        ViewAnimationBlock* block;
    };

    void frame(core::TimePoint time);
    void updateFrameHandler();

    core::MainLoop& m_loop;
    AnimationEngine* m_previous; // current() before this one, and again after it; outlives it
    // Not owned: a layer untracks itself (and an observer removes itself) before it goes away.
    std::vector<Layer*> m_layers;
    std::vector<FrameObserver*> m_observers;
    std::vector<Scope> m_scopes;
    std::uint64_t m_frameHandler = 0;
    double m_lastFrame = 0;
    bool m_enabled = true;
};

} // namespace ui
