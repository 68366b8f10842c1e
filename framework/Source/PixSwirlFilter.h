#pragma once

#include "framework/Source/PixDistortionFilter.h"

namespace zm {

// Twists the picture about the centre inside a circle of `radius`, most at the centre. The circle is
// measured in the texture, not corrected for the aspect ratio: on a picture that is not square it is
// an ellipse in pixels.
class PixSwirlFilter : public PixDistortionFilter {
public:
    static std::shared_ptr<PixSwirlFilter> create();

    // 0.5 at first.
    float radius() const { return storedFloat(m_radius); }
    void setRadius(float newValue) { storeFloat(m_radius, newValue, m_radiusUniform); }
    // How far it twists; 1 at first.
    float angle() const { return storedFloat(m_angle); }
    void setAngle(float newValue) { storeFloat(m_angle, newValue, m_angleUniform); }

protected:
    PixSwirlFilter();

private:
    GLint m_radiusUniform = -1;
    GLint m_angleUniform = -1;
    // On the processing queue.
    float m_radius = 0.5f;
    float m_angle = 1.0f;
};

} // namespace zm
