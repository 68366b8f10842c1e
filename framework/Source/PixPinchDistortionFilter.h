#pragma once

#include "framework/Source/PixDistortionFilter.h"

namespace zm {

// Pulls the picture in towards the centre inside a circle of `radius` (in widths of the picture), or
// pushes it out for a negative scale.
class PixPinchDistortionFilter : public PixDistortionFilter {
public:
    static std::shared_ptr<PixPinchDistortionFilter> create();

    // 1 at first.
    float radius() const { return storedFloat(m_radius); }
    void setRadius(float newValue) { storeFloat(m_radius, newValue, m_radiusUniform); }
    // -2 to 2; 0.5 at first.
    float scale() const { return storedFloat(m_scale); }
    void setScale(float newValue) { storeFloat(m_scale, newValue, m_scaleUniform); }

protected:
    PixPinchDistortionFilter();

private:
    GLint m_radiusUniform = -1;
    GLint m_scaleUniform = -1;
    // On the processing queue.
    float m_radius = 1.0f;
    float m_scale = 0.5f;
};

} // namespace zm
