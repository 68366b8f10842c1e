#include "platform/ui/TimingFunction.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// One coordinate of the Bézier curve through 0, p1, p2, 1 at parameter s.
double bezier(double p1, double p2, double s) {
    const double r = 1 - s;
    return 3 * r * r * s * p1 + 3 * r * s * s * p2 + s * s * s;
}

double bezierSlope(double p1, double p2, double s) {
    const double r = 1 - s;
    return 3 * r * r * p1 + 6 * r * s * (p2 - p1) + 3 * s * s * (1 - p2);
}

} // namespace

TimingFunction TimingFunction::forCurve(AnimationCurve curve) {
    switch (curve) {
    case AnimationCurve::EaseIn:
        return easeIn();
    case AnimationCurve::EaseOut:
        return easeOut();
    case AnimationCurve::Linear:
        return linear();
    case AnimationCurve::EaseInOut:
        break;
    }
    return easeInOut();
}

double TimingFunction::valueAt(double time) const {
    const double x = std::clamp(time, 0.0, 1.0);
    if (m_x1 == m_y1 && m_x2 == m_y2)
        return x;

    // The curve's x is monotonic in s for control points inside [0, 1]: Newton's method converges
    // quickly from s = x, and bisection takes over where the slope flattens out.
    double s = x;
    for (int i = 0; i < 8; ++i) {
        const double error = bezier(m_x1, m_x2, s) - x;
        if (std::abs(error) < 1e-9)
            return bezier(m_y1, m_y2, s);
        const double slope = bezierSlope(m_x1, m_x2, s);
        if (std::abs(slope) < 1e-6)
            break;
        s = std::clamp(s - error / slope, 0.0, 1.0);
    }
    double low = 0;
    double high = 1;
    s = x;
    for (int i = 0; i < 60; ++i) {
        const double value = bezier(m_x1, m_x2, s);
        if (std::abs(value - x) < 1e-9)
            break;
        (value < x ? low : high) = s;
        s = (low + high) / 2;
    }
    return bezier(m_y1, m_y2, s);
}

} // namespace ui
