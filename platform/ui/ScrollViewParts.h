#pragma once

// The parts of a scroll view that move and show its content: private to ScrollView's files.

#include "platform/ui/AnimationEngine.h"
#include "platform/ui/ScrollView.h"

#include <memory>

namespace ui {

class Layer;

namespace scrolling {

constexpr double glideDuration = 0.3;
constexpr double springBackDuration = 0.4;

} // namespace scrolling

// Moves the content by itself, frame by frame: gliding to a target, or coasting after a flick until
// friction stops it. Every frame's offset goes through applyOffset, so the delegate hears each one.
// Without an animation engine the content arrives at once.
class ScrollView::Motion : private FrameObserver {
public:
    explicit Motion(ScrollView& owner)
        : m_owner(owner) {}
    ~Motion() override;

    bool isRunning() const { return m_kind != Kind::None; }
    void glide(core::Point to, double duration, Arrival arrival);
    void coast(core::Point velocity);
    void stop();

private:
    enum class Kind { None, Glide, Coast };

    void start();
    void unregister();
    void advance(double elapsed) override;
    void advanceGlide(double elapsed);
    void advanceCoast(double elapsed);

    ScrollView& m_owner;
    AnimationEngine* m_engine = nullptr; // while registered with it
    Kind m_kind = Kind::None;
    core::Point m_from;
    core::Point m_to;
    double m_duration = 0;
    double m_elapsed = 0;
    core::Point m_velocity;
    Arrival m_arrival = Arrival::Decelerating;
};

// The two scroll indicators: plain layers above the content, placed in the scroll view's bounds.
class ScrollView::Indicators {
public:
    explicit Indicators(Layer& host);

    // Keeps the bars above subviews added later.
    void raise(Layer& host);
    void place(const ScrollView& view);
    void show();
    // Fades them out after `delay` seconds.
    void fade(double delay);
    bool isShowing() const;

private:
    std::shared_ptr<Layer> m_horizontal;
    std::shared_ptr<Layer> m_vertical;
};

} // namespace ui
