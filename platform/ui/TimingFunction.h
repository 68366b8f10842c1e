#pragma once

namespace ui {

// The pace of an animation over its duration.
enum class AnimationCurve {
    EaseInOut, // the default of view animations
    EaseIn,
    EaseOut,
    Linear,
};

// A cubic Bézier easing curve from (0, 0) to (1, 1) with the control points (x1, y1) and (x2, y2): it
// maps the share of time gone by to the share of the change done.
class TimingFunction {
public:
    constexpr TimingFunction(double x1, double y1, double x2, double y2)
        : m_x1(x1)
        , m_y1(y1)
        , m_x2(x2)
        , m_y2(y2) {}

    static constexpr TimingFunction linear() { return {0, 0, 1, 1}; }
    static constexpr TimingFunction easeIn() { return {0.42, 0, 1, 1}; }
    static constexpr TimingFunction easeOut() { return {0, 0, 0.58, 1}; }
    static constexpr TimingFunction easeInOut() { return {0.42, 0, 0.58, 1}; }
    static TimingFunction forCurve(AnimationCurve curve);

    // `time` is clamped to [0, 1].
    double valueAt(double time) const;

    friend bool operator==(const TimingFunction&, const TimingFunction&) = default;

private:
    double m_x1;
    double m_y1;
    double m_x2;
    double m_y2;
};

} // namespace ui
