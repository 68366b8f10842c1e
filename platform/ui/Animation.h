#pragma once

#include "platform/gfx/Path.h"
#include "platform/ui/AnimatableValue.h"
#include "platform/ui/TimingFunction.h"

#include <any>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Animation;

// The properties of a layer that animations can move.
enum class LayerProperty : std::uint8_t {
    Position,
    Bounds,
    Transform,
    Opacity,
    BackgroundColor,
    StrokeStart,
    StrokeEnd,
};

// The key that a property's own view animations run under ("position", "strokeEnd", ...): a second view
// animation of the property replaces the first by this key.
std::string_view keyFor(LayerProperty property);

// Whether an animation shows its values before it starts (while its delay runs) and after it ends.
enum class FillMode : std::uint8_t {
    Removed,   // neither
    Forwards,  // keeps its last value after the end
    Backwards, // shows its first value during the delay
    Both,
};

// How a keyframe animation moves between its values.
enum class CalculationMode : std::uint8_t {
    Linear, // straight from value to value at the key times
    Cubic,  // a smooth curve through the values at the key times
    Paced,  // an even pace over the whole run; key times are ignored
};

// Told when animations stop: with finished true when one ran to its end, false when it was replaced,
// removed, or its layer went away.
class AnimationDelegate {
public:
    virtual ~AnimationDelegate() = default;
    // A layer animation stopped.
    virtual void animationDidStop(const Animation& animation, bool finished);
    // A named view animation (see `beginAnimations`) stopped.
    virtual void animationDidStop(const std::string& name, bool finished, const std::any& context);
};

// A timed change of one layer property: a plain change from one value to another, a run through
// keyframe values, or a move along a path. An Animation is a value: adding it to a layer copies it, so
// one description can run on several layers.
class Animation {
public:
    // A change of `property` from `from` to `to`. A missing start is what the layer shows when the
    // animation is added; a missing end is the layer's own value then.
    static Animation basic(LayerProperty property, std::optional<AnimatableValue> from = {},
                           std::optional<AnimatableValue> to = {});
    // A run through `values`, reached at `keyTimes`: shares of the duration, one per value, rising from
    // 0 to 1. Without key times the values are spread evenly.
    static Animation keyframes(LayerProperty property, std::vector<AnimatableValue> values,
                               std::vector<double> keyTimes = {});
    // The layer's position along `path`, at an even pace.
    static Animation alongPath(gfx::Path path);

    LayerProperty property() const { return m_property; }

    double duration() const { return m_duration; }
    Animation& setDuration(double seconds);
    // Time between adding the animation and its start.
    double delay() const { return m_delay; }
    Animation& setDelay(double seconds);
    // How many times it runs; 0 counts as once, a fraction stops part-way, infinity never ends.
    double repeatCount() const { return m_repeatCount; }
    Animation& setRepeatCount(double count);
    // Each run goes forward and then back, taking twice the duration.
    bool autoreverses() const { return m_autoreverses; }
    Animation& setAutoreverses(bool autoreverses);
    const TimingFunction& timingFunction() const { return m_timing; }
    Animation& setTimingFunction(const TimingFunction& timing);
    FillMode fillMode() const { return m_fillMode; }
    Animation& setFillMode(FillMode mode);
    // Whether the layer drops the animation when it ends (the default); one that stays keeps
    // showing its last value when it also fills forwards.
    bool isRemovedOnCompletion() const { return m_removedOnCompletion; }
    Animation& setRemovedOnCompletion(bool removed);
    CalculationMode calculationMode() const { return m_calculationMode; }
    Animation& setCalculationMode(CalculationMode mode);
    const std::weak_ptr<AnimationDelegate>& delegate() const { return m_delegate; }
    Animation& setDelegate(std::weak_ptr<AnimationDelegate> delegate);

    const std::optional<AnimatableValue>& fromValue() const { return m_from; }
    const std::optional<AnimatableValue>& toValue() const { return m_to; }

    // The time from start to end, without the delay; infinite for an endless animation.
    double activeDuration() const;

    // Where the animation stands some time after it was added.
    struct Progress {
        enum class Phase { Waiting, Running, Over };
        Phase phase;
        double fraction; // share of the change shown, after repeats, reversal and timing
    };
    Progress progressAt(double elapsed) const;

    // Whether it shows a value at `progress` (it may be waiting or over without filling).
    bool showsValue(const Progress& progress) const;

    // The value shown at `fraction` of the change. A plain change needs both ends: see `resolved`.
    AnimatableValue valueAt(double fraction) const;

    // A copy with a missing start or end filled in from what the layer shows and its own value.
    Animation resolved(const AnimatableValue& presented, const AnimatableValue& model) const;

private:
    enum class Kind : std::uint8_t { Basic, Keyframes, Path };

    Animation(Kind kind, LayerProperty property);

    AnimatableValue keyframeValueAt(double fraction) const;

    Kind m_kind;
    LayerProperty m_property;
    double m_duration = 0.25;
    double m_delay = 0;
    double m_repeatCount = 0;
    bool m_autoreverses = false;
    bool m_removedOnCompletion = true;
    FillMode m_fillMode = FillMode::Removed;
    CalculationMode m_calculationMode = CalculationMode::Linear;
    TimingFunction m_timing = TimingFunction::linear();
    std::weak_ptr<AnimationDelegate> m_delegate;
    std::optional<AnimatableValue> m_from;
    std::optional<AnimatableValue> m_to;
    std::vector<AnimatableValue> m_values;
    std::vector<double> m_keyTimes;
    std::optional<gfx::Path> m_path;
};

} // namespace ui
