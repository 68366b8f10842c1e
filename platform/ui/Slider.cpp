#include "platform/ui/Slider.h"

#include "platform/gfx/Canvas.h"
#include "platform/ui/ViewAnimation.h"

#include <algorithm>

namespace ui {

namespace {

constexpr float trackHeight = 2;
// How far outside the thumb a finger still grabs it.
constexpr float thumbSlack = 10;
constexpr double valueAnimationDuration = 0.3;

// The white disc with a soft shadow that the finger drags.
class SliderThumb : public View {
public:
    static std::shared_ptr<SliderThumb> create() { return std::shared_ptr<SliderThumb>(new SliderThumb); }

protected:
    SliderThumb()
        : View({0, 0, Slider::kThumbDiameter, Slider::kThumbDiameter}) {
        setUserInteractionEnabled(false);
    }

    void draw(gfx::Canvas& canvas) override {
        const core::Rect disc = bounds().insetBy(1.5f, 1.5f);
        canvas.setShadow(gfx::Shadow{{0, 1}, 2, core::Color::rgba(0, 0, 0, 0.3f)});
        canvas.setFillColor(core::Color::white());
        canvas.fillPath(gfx::Path::ellipse(disc));
        canvas.setShadow(std::nullopt);
        canvas.setStrokeColor(core::Color::rgba(0, 0, 0, 0.1f));
        canvas.setLineWidth(0.5f);
        canvas.strokePath(gfx::Path::ellipse(disc));
    }
};

} // namespace

std::shared_ptr<Slider> Slider::create(const core::Rect& frame) {
    return std::shared_ptr<Slider>(new Slider(frame));
}

Slider::Slider(const core::Rect& frame)
    : Control({frame.origin, {frame.width(), kHeight}})
    , m_minimumTrack(View::create())
    , m_maximumTrack(View::create())
    , m_thumb(SliderThumb::create()) {
    m_minimumTrack->setUserInteractionEnabled(false);
    m_maximumTrack->setUserInteractionEnabled(false);
    m_minimumTrack->setBackgroundColor(m_tint);
    m_maximumTrack->setBackgroundColor(core::Color::rgb255(183, 183, 183));
    addSubview(m_minimumTrack);
    addSubview(m_maximumTrack);
    addSubview(m_thumb);
    placeParts();
}

float Slider::clamped(float value) const {
    return std::clamp(value, m_minimum, m_maximum);
}

void Slider::setValue(float value, bool animated) {
    m_value = clamped(value);
    if (animated)
        animate({.duration = valueAnimationDuration}, [this] { placeParts(); });
    else
        placeParts();
}

void Slider::setMinimumValue(float minimum) {
    m_minimum = minimum;
    m_maximum = std::max(m_maximum, minimum);
    setValue(m_value);
}

void Slider::setMaximumValue(float maximum) {
    m_maximum = maximum;
    m_minimum = std::min(m_minimum, maximum);
    setValue(m_value);
}

void Slider::setMinimumTrackTintColor(const core::Color& color) {
    m_tint = color;
    m_minimumTrack->setBackgroundColor(color);
}

float Slider::thumbCenterX(float value) const {
    const float radius = kThumbDiameter / 2;
    const float span = std::max(0.0f, bounds().width() - kThumbDiameter);
    const float range = m_maximum - m_minimum;
    const float share = range > 0 ? (value - m_minimum) / range : 0;
    return bounds().minX() + radius + share * span;
}

core::Rect Slider::thumbRect() const {
    const float radius = kThumbDiameter / 2;
    return {thumbCenterX(m_value) - radius, bounds().midY() - radius, kThumbDiameter, kThumbDiameter};
}

void Slider::placeParts() {
    const core::Rect area = bounds();
    const float x = thumbCenterX(m_value);
    const float top = area.midY() - trackHeight / 2;
    m_minimumTrack->setFrame({area.minX() + 2, top, std::max(0.0f, x - area.minX() - 2), trackHeight});
    m_maximumTrack->setFrame({x, top, std::max(0.0f, area.maxX() - 2 - x), trackHeight});
    m_thumb->setFrame(thumbRect());
}

void Slider::layoutSubviews() {
    placeParts();
}

bool Slider::beginTracking(const Touch& touch, const Event&) {
    const core::Point location = touch.locationInView(this);
    if (!thumbRect().insetBy(-thumbSlack, -thumbSlack).contains(location))
        return false;
    m_dragStartValue = m_value;
    m_valueAtTouchDown = m_value;
    m_dragStartX = location.x;
    return true;
}

bool Slider::continueTracking(const Touch& touch, const Event&) {
    const float span = bounds().width() - kThumbDiameter;
    if (span <= 0)
        return true;
    const float moved = touch.locationInView(this).x - m_dragStartX;
    const float value = clamped(m_dragStartValue + moved / span * (m_maximum - m_minimum));
    if (value == m_value)
        return true;
    setValue(value);
    if (m_continuous)
        sendActions(ControlEvent::ValueChanged);
    return true;
}

void Slider::endTracking(const Touch& touch, const Event& event) {
    continueTracking(touch, event);
    if (!m_continuous && m_value != m_valueAtTouchDown)
        sendActions(ControlEvent::ValueChanged);
}

} // namespace ui
