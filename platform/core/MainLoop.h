#pragma once

#include "platform/core/Clock.h"
#include "platform/core/ThreadQueueLabels.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace core {

class DispatchQueue;
class ManualClock;
class OperationQueue;
class Timer;

// The clock that everything timed reads: the running main loop's, or the steady clock when no main
// loop runs. Any thread.
std::shared_ptr<Clock> currentClock();
// The present moment on the current clock. Any thread.
Date currentDate();

// The order in which frame handlers run within one frame.
enum class FramePhase {
    Input,     // the host turns pending window events into touches
    Animation, // the animation engine moves presentation values to the frame's time
    Render,    // the renderer draws the view tree and the host shows it
};

// The one loop that drives the program from its main thread: it runs the work posted to the main queue
// (DispatchQueue::main()), the timers and delayed work that fall due on its clock, and, while any frame
// handler is registered, one frame every frameInterval().
//
// Construct it on the thread that will run it; it installs itself as the running loop (one at a time)
// until it is destroyed. Work still queued then is dropped.
//
// Two ways to run it:
//   - The program calls runForever(), which waits on the real clock until quit().
//   - Tests construct it with a ManualClock and call runUntilIdle() and advanceBy(); time moves only
//     there, so every timer, delayed call and frame happens at a known time and in a known order.
//
// Frames are the hook for everything that must happen once per displayed picture:
//     loop.addFrameHandler(FramePhase::Animation, [&](TimePoint t) { engine.advanceTo(t); });
//     loop.addFrameHandler(FramePhase::Render, [&](TimePoint) { host.render(); });
// Each frame calls the Input handlers, then Animation, then Render (in registration order within a
// phase) with the frame's time. Frames are a repeating timer on the loop's clock, so under a manual clock
// advanceBy() produces every frame that falls in the advanced span, between the other timers in time
// order. Frames tick only while at least one handler is registered.
//
// Thread safety: runUntilIdle, advanceBy, runForever and the frame and option setters are for the main
// thread only; quit(), clock(), queue() and current() may be used from any thread.
class MainLoop {
public:
    using FrameHandler = std::function<void(TimePoint frameTime)>;
    using FrameHandlerId = std::uint64_t;

    static constexpr Duration defaultFrameInterval{16'666'667};

    explicit MainLoop(std::shared_ptr<Clock> clock);
    ~MainLoop();
    MainLoop(const MainLoop&) = delete;
    MainLoop& operator=(const MainLoop&) = delete;

    // The running loop. Asserts that there is one.
    static MainLoop& current();

    const std::shared_ptr<Clock>& clock() const { return m_clock; }
    const std::shared_ptr<DispatchQueue>& queue() const { return m_queue; }
    // The operation queue whose operations run on this loop, one at a time.
    const std::shared_ptr<OperationQueue>& operationQueue() const { return m_operationQueue; }

    // Runs posted work, and the timers already due on a manual clock, until nothing is left to do now.
    // Time does not move.
    void runUntilIdle();

    // Moves a manual clock forward by `duration`, stopping at each timer, delayed call and frame due on
    // the way to run it and all the work it causes before time moves on.
    void advanceBy(Duration duration);

    // Runs until quit(), sleeping while there is nothing to do.
    void runForever();
    // Makes runForever() return once the work it is running has finished. Any thread.
    void quit();

    FrameHandlerId addFrameHandler(FramePhase phase, FrameHandler handler);
    void removeFrameHandler(FrameHandlerId id);
    void setFrameInterval(Duration interval);
    Duration frameInterval() const { return m_frameInterval; }

    // When set, operation queues created afterwards run their operations on this loop instead of on
    // worker threads, so that a test drives them with the manual clock like everything else.
    void setCooperativeOperationQueues(bool cooperative) { m_cooperativeOperationQueues.store(cooperative); }
    bool cooperativeOperationQueues() const { return m_cooperativeOperationQueues.load(); }

    // Where a new operation queue runs its operations: the running loop's queue when it runs operation
    // queues cooperatively, else the global queue. Any thread.
    static std::shared_ptr<DispatchQueue> defaultOperationTarget();

    struct Jobs;

private:
    bool runOne();
    bool fireDueTimer(TimePoint limit);
    void runFrame(TimePoint frameTime);
    void updateFrameTimer();

    std::shared_ptr<Clock> m_clock;
    ManualClock* m_manualClock; // m_clock itself when it is a manual clock
    std::shared_ptr<Jobs> m_jobs;
    std::shared_ptr<DispatchQueue> m_queue;
    std::shared_ptr<OperationQueue> m_operationQueue;
    // The loop's thread works for the main queue.
    ThreadQueueLabels::Scope m_publishedLabel{"main"};

    std::map<std::pair<FramePhase, FrameHandlerId>, std::shared_ptr<FrameHandler>> m_frameHandlers;
    FrameHandlerId m_nextFrameHandlerId = 1;
    Duration m_frameInterval = defaultFrameInterval;
    std::shared_ptr<Timer> m_frameTimer;
    std::atomic<bool> m_cooperativeOperationQueues{false};
};

} // namespace core
