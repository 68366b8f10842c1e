#pragma once

#include "platform/ui/Animation.h"
#include "platform/ui/ViewAnimation.h"

#include <map>
#include <memory>
#include <vector>

namespace ui {

class AnimationGroup;
class Layer;

// A view animation block while it is being built: its settings, the group its animations join and,
// for a keyframe block, the keyframes recorded so far. Layers of views hand it their changes.
class ViewAnimationBlock {
public:
    struct Settings {
        double duration = 0.2;
        double delay = 0;
        AnimationCurve curve = AnimationCurve::EaseInOut;
        double repeatCount = 0;
        bool autoreverses = false;
        bool beginFromCurrentState = false;
        bool allowUserInteraction = true;
    };

    ViewAnimationBlock(const Settings& settings, std::shared_ptr<AnimationGroup> group);

    Settings& settings() { return m_settings; }
    const std::shared_ptr<AnimationGroup>& group() const { return m_group; }
    // Changes animate (rather than happen at once).
    bool animates() const;

    // `layer` is about to take `value` for `property`.
    void animate(Layer& layer, LayerProperty property, const AnimatableValue& value);

    // Keyframe blocks record their changes instead and make the animations when they end.
    void recordKeyframes(KeyframeCurve curve);
    void setKeyframeSpan(double relativeStart, double relativeDuration);
    void makeKeyframeAnimations();

    // Time from now until the block's animations end (infinite when they repeat forever).
    double span() const;

private:
    struct Keyframe {
        double start;
        double end;
        AnimatableValue value;
    };
    struct Track {
        std::weak_ptr<Layer> layer;
        LayerProperty property;
        AnimatableValue from;
        std::vector<Keyframe> keyframes;
    };

    Animation makeAnimation(Animation animation) const;
    void add(Layer& layer, const Animation& animation);

    Settings m_settings;
    std::shared_ptr<AnimationGroup> m_group;
    bool m_recordsKeyframes = false;
    KeyframeCurve m_keyframeCurve = KeyframeCurve::Linear;
    double m_spanStart = 0;
    double m_spanEnd = 1;
    std::vector<Track> m_tracks;
};

} // namespace ui
