#include "platform/ui/ViewAnimationBlock.h"

#include "platform/ui/AnimationEngine.h"
#include "platform/ui/Layer.h"

#include <algorithm>
#include <cmath>

namespace ui {

ViewAnimationBlock::ViewAnimationBlock(const Settings& settings, std::shared_ptr<AnimationGroup> group)
    : m_settings(settings)
    , m_group(std::move(group)) {}

bool ViewAnimationBlock::animates() const {
    const AnimationEngine* engine = AnimationEngine::current();
    return engine && engine->areAnimationsEnabled() && m_settings.duration > 0;
}

double ViewAnimationBlock::span() const {
    if (!animates())
        return 0;
    return m_settings.delay + makeAnimation(Animation::basic(LayerProperty::Opacity)).activeDuration();
}

Animation ViewAnimationBlock::makeAnimation(Animation animation) const {
    // The model takes the new value at once: while the delay runs, the screen keeps the old one.
    animation.setDuration(m_settings.duration)
        .setDelay(m_settings.delay)
        .setTimingFunction(TimingFunction::forCurve(m_settings.curve))
        .setRepeatCount(m_settings.repeatCount)
        .setAutoreverses(m_settings.autoreverses)
        .setFillMode(FillMode::Backwards);
    return animation;
}

void ViewAnimationBlock::add(Layer& layer, const Animation& animation) {
    layer.addRunningAnimation(animation, std::string(keyFor(animation.property())), m_group,
                              !m_settings.allowUserInteraction);
}

void ViewAnimationBlock::animate(Layer& layer, LayerProperty property, const AnimatableValue& value) {
    const AnimatableValue model = layer.modelValue(property);
    const bool running = layer.animation(keyFor(property)) != nullptr;
    // Without the option, a property that is animating starts over from the value it was heading for.
    const AnimatableValue from = m_settings.beginFromCurrentState ? layer.presentationValue(property) : model;

    if (m_recordsKeyframes) {
        auto track = std::find_if(m_tracks.begin(), m_tracks.end(), [&](const Track& track) {
            return track.layer.lock().get() == &layer && track.property == property;
        });
        if (track == m_tracks.end())
            track = m_tracks.insert(m_tracks.end(), Track{layer.weak_from_this(), property, from, {}});
        track->keyframes.push_back({m_spanStart, m_spanEnd, value});
        return;
    }
    if (!running && model == value)
        return;
    add(layer, makeAnimation(Animation::basic(property, from, value)));
}

void ViewAnimationBlock::recordKeyframes(KeyframeCurve curve) {
    m_recordsKeyframes = true;
    m_keyframeCurve = curve;
}

void ViewAnimationBlock::setKeyframeSpan(double relativeStart, double relativeDuration) {
    m_spanStart = std::clamp(relativeStart, 0.0, 1.0);
    m_spanEnd = std::clamp(relativeStart + relativeDuration, m_spanStart, 1.0);
}

void ViewAnimationBlock::makeKeyframeAnimations() {
    for (Track& track : m_tracks) {
        std::shared_ptr<Layer> layer = track.layer.lock();
        if (!layer)
            continue;
        std::stable_sort(track.keyframes.begin(), track.keyframes.end(),
                         [](const Keyframe& a, const Keyframe& b) { return a.end < b.end; });
        std::vector<AnimatableValue> values{track.from};
        std::vector<double> times{0};
        for (const Keyframe& keyframe : track.keyframes) {
            // A keyframe that starts after the previous one ended holds the value until it starts.
            if (keyframe.start > times.back()) {
                values.push_back(values.back());
                times.push_back(keyframe.start);
            }
            values.push_back(keyframe.value);
            times.push_back(std::max(keyframe.end, times.back()));
        }
        if (times.back() < 1) {
            values.push_back(values.back());
            times.push_back(1);
        }
        Animation animation = makeAnimation(Animation::keyframes(track.property, values, times));
        // Time runs evenly through the keyframes; the curve only shapes the way between their values.
        animation.setTimingFunction(TimingFunction::linear())
            .setCalculationMode(m_keyframeCurve == KeyframeCurve::Cubic ? CalculationMode::Cubic
                                                                        : CalculationMode::Linear);
        add(*layer, animation);
    }
    m_tracks.clear();
}

} // namespace ui
