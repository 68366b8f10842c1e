#include "platform/ui/Animation.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

namespace ui {

std::string_view keyFor(LayerProperty property) {
    switch (property) {
    case LayerProperty::Position:
        return "position";
    case LayerProperty::Bounds:
        return "bounds";
    case LayerProperty::Transform:
        return "transform";
    case LayerProperty::Opacity:
        return "opacity";
    case LayerProperty::BackgroundColor:
        return "backgroundColor";
    case LayerProperty::StrokeStart:
        return "strokeStart";
    case LayerProperty::StrokeEnd:
        return "strokeEnd";
    }
    return "";
}

void AnimationDelegate::animationDidStop(const Animation&, bool) {}

void AnimationDelegate::animationDidStop(const std::string&, bool, const std::any&) {}

Animation::Animation(Kind kind, LayerProperty property)
    : m_kind(kind)
    , m_property(property) {}

Animation Animation::basic(LayerProperty property, std::optional<AnimatableValue> from,
                           std::optional<AnimatableValue> to) {
    Animation animation(Kind::Basic, property);
    animation.m_from = std::move(from);
    animation.m_to = std::move(to);
    return animation;
}

Animation Animation::keyframes(LayerProperty property, std::vector<AnimatableValue> values,
                               std::vector<double> keyTimes) {
    assert(!values.empty());
    assert(keyTimes.empty() || keyTimes.size() == values.size());
    Animation animation(Kind::Keyframes, property);
    if (keyTimes.size() != values.size()) {
        keyTimes.clear();
        for (size_t i = 0; i < values.size(); ++i)
            keyTimes.push_back(values.size() == 1 ? 0 : double(i) / double(values.size() - 1));
    }
    animation.m_values = std::move(values);
    animation.m_keyTimes = std::move(keyTimes);
    return animation;
}

Animation Animation::alongPath(gfx::Path path) {
    Animation animation(Kind::Path, LayerProperty::Position);
    animation.m_path = std::move(path);
    animation.m_calculationMode = CalculationMode::Paced;
    return animation;
}

Animation& Animation::setDuration(double seconds) {
    m_duration = std::max(seconds, 0.0);
    return *this;
}

Animation& Animation::setDelay(double seconds) {
    m_delay = std::max(seconds, 0.0);
    return *this;
}

Animation& Animation::setRepeatCount(double count) {
    m_repeatCount = std::max(count, 0.0);
    return *this;
}

Animation& Animation::setAutoreverses(bool autoreverses) {
    m_autoreverses = autoreverses;
    return *this;
}

Animation& Animation::setTimingFunction(const TimingFunction& timing) {
    m_timing = timing;
    return *this;
}

Animation& Animation::setFillMode(FillMode mode) {
    m_fillMode = mode;
    return *this;
}

Animation& Animation::setRemovedOnCompletion(bool removed) {
    m_removedOnCompletion = removed;
    return *this;
}

Animation& Animation::setCalculationMode(CalculationMode mode) {
    m_calculationMode = mode;
    return *this;
}

Animation& Animation::setDelegate(std::weak_ptr<AnimationDelegate> delegate) {
    m_delegate = std::move(delegate);
    return *this;
}

namespace {

// The number of one-way runs: a reversing run counts twice.
double legsOf(const Animation& animation) {
    const double runs = animation.repeatCount() > 0 ? animation.repeatCount() : 1;
    return animation.autoreverses() ? 2 * runs : runs;
}

// The share of the change on leg `leg` at `within` (0 to 1) of it: reversing legs run backwards.
double shareOnLeg(const Animation& animation, double leg, double within) {
    const bool backwards = animation.autoreverses() && std::fmod(leg, 2) == 1;
    return backwards ? 1 - within : within;
}

core::Point pointAlong(const gfx::Path& path, double fraction) {
    if (path.isEmpty())
        return {};
    if (fraction <= 0)
        return path.elements().front().points[0];
    return path.trimmed(0, static_cast<float>(std::min(fraction, 1.0)))
        .currentPoint()
        .value_or(core::Point{});
}

} // namespace

double Animation::activeDuration() const {
    if (std::isinf(m_repeatCount))
        return std::numeric_limits<double>::infinity();
    return legsOf(*this) * m_duration;
}

Animation::Progress Animation::progressAt(double elapsed) const {
    // Times are sums and differences of clock readings: a nanosecond short of the end is the end.
    constexpr double tolerance = 1e-9;
    const double local = elapsed - m_delay;
    if (local < -tolerance)
        return {Progress::Phase::Waiting, m_timing.valueAt(0)};
    if (m_duration > 0 && local < activeDuration() - tolerance) {
        const double legs = std::max(local, 0.0) / m_duration;
        const double leg = std::floor(legs);
        return {Progress::Phase::Running, m_timing.valueAt(shareOnLeg(*this, leg, legs - leg))};
    }
    // The end: the last leg may stop part-way (a repeat count of 1.5 ends a reversing run forwards).
    const double legs = legsOf(*this);
    if (std::isinf(legs))
        return {Progress::Phase::Over, m_timing.valueAt(1)};
    const double lastLeg = std::ceil(legs) - 1;
    return {Progress::Phase::Over, m_timing.valueAt(shareOnLeg(*this, lastLeg, legs - lastLeg))};
}

bool Animation::showsValue(const Progress& progress) const {
    switch (progress.phase) {
    case Progress::Phase::Waiting:
        return m_fillMode == FillMode::Backwards || m_fillMode == FillMode::Both;
    case Progress::Phase::Running:
        return true;
    case Progress::Phase::Over:
        return m_fillMode == FillMode::Forwards || m_fillMode == FillMode::Both;
    }
    return false;
}

AnimatableValue Animation::valueAt(double fraction) const {
    switch (m_kind) {
    case Kind::Basic:
        assert(m_from && m_to);
        return m_from && m_to ? interpolate(*m_from, *m_to, fraction) : m_to.value_or(0.0f);
    case Kind::Keyframes:
        return keyframeValueAt(fraction);
    case Kind::Path:
        return pointAlong(*m_path, fraction);
    }
    return 0.0f;
}

AnimatableValue Animation::keyframeValueAt(double fraction) const {
    if (m_values.size() == 1)
        return m_values.front();
    if (m_calculationMode == CalculationMode::Paced) {
        std::vector<double> lengths{0};
        for (size_t i = 1; i < m_values.size(); ++i)
            lengths.push_back(lengths.back() + distanceBetween(m_values[i - 1], m_values[i]));
        const double target = fraction * lengths.back();
        for (size_t i = 1; i < m_values.size(); ++i) {
            if (target <= lengths[i] || i + 1 == m_values.size()) {
                const double span = lengths[i] - lengths[i - 1];
                return interpolate(m_values[i - 1], m_values[i],
                                   span > 0 ? (target - lengths[i - 1]) / span : 1);
            }
        }
    }
    if (fraction <= m_keyTimes.front())
        return m_values.front();
    if (fraction >= m_keyTimes.back())
        return m_values.back();
    const size_t next = std::upper_bound(m_keyTimes.begin(), m_keyTimes.end(), fraction) - m_keyTimes.begin();
    const size_t index = next - 1;
    const double span = m_keyTimes[next] - m_keyTimes[index];
    const double within = span > 0 ? (fraction - m_keyTimes[index]) / span : 1;
    if (m_calculationMode == CalculationMode::Cubic)
        return interpolateSmoothly(m_values, index, within);
    return interpolate(m_values[index], m_values[next], within);
}

Animation Animation::resolved(const AnimatableValue& presented, const AnimatableValue& model) const {
    Animation copy = *this;
    if (m_kind == Kind::Basic) {
        if (!copy.m_from)
            copy.m_from = presented;
        if (!copy.m_to)
            copy.m_to = model;
    }
    return copy;
}

} // namespace ui
