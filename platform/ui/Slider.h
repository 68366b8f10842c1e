#pragma once

#include "platform/ui/Control.h"

namespace ui {

// A horizontal slider: a round thumb on a track, the part left of the thumb in the tint colour. The
// value lies between the minimum and the maximum (0 and 1 unless set); the thumb's centre runs from
// one thumb radius inside the left edge to one inside the right edge.
//
// A finger that lands on the thumb (with some slack) drags it: the value follows the finger's motion,
// reporting ValueChanged on every change while continuous, else once when the finger lifts; lifting
// also reports TouchUpInside or TouchUpOutside like any control. A finger that lands on the track
// beside the thumb moves nothing.
class Slider : public Control {
public:
    // The height a slider is laid out at.
    static constexpr float kHeight = 31;
    static constexpr float kThumbDiameter = 28;

    // A slider as wide as the frame, kHeight high.
    static std::shared_ptr<Slider> create(const core::Rect& frame = {});

    float value() const { return m_value; }
    // Clamped to the range; animated, the thumb glides there (no ValueChanged is reported either way).
    void setValue(float value, bool animated = false);
    float minimumValue() const { return m_minimum; }
    // A minimum above the maximum raises the maximum too; the value is clamped again.
    void setMinimumValue(float minimum);
    float maximumValue() const { return m_maximum; }
    void setMaximumValue(float maximum);

    bool isContinuous() const { return m_continuous; }
    void setContinuous(bool continuous) { m_continuous = continuous; }

    const core::Color& minimumTrackTintColor() const { return m_tint; }
    void setMinimumTrackTintColor(const core::Color& color);

    // The thumb's frame in the slider's coordinates.
    core::Rect thumbRect() const;

protected:
    explicit Slider(const core::Rect& frame);

    void layoutSubviews() override;
    bool beginTracking(const Touch& touch, const Event& event) override;
    bool continueTracking(const Touch& touch, const Event& event) override;
    void endTracking(const Touch& touch, const Event& event) override;

private:
    float clamped(float value) const;
    float thumbCenterX(float value) const;
    void placeParts();

    std::shared_ptr<View> m_minimumTrack;
    std::shared_ptr<View> m_maximumTrack;
    std::shared_ptr<View> m_thumb;
    float m_value = 0;
    float m_minimum = 0;
    float m_maximum = 1;
    bool m_continuous = true;
    core::Color m_tint = core::Color::rgb255(0, 122, 255);
    // While dragging: the value and the finger's x when the drag started, and the value then reported.
    float m_dragStartValue = 0;
    float m_dragStartX = 0;
    float m_valueAtTouchDown = 0;
};

} // namespace ui
