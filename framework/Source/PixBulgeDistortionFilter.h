#pragma once

#include "framework/Source/PixDistortionFilter.h"

namespace zm {

// Pushes the picture out from the centre inside a circle of `radius` (in widths of the picture): a
// positive scale enlarges the middle, a negative one shrinks it; the circle's edge stays in place.
class PixBulgeDistortionFilter : public PixDistortionFilter {
public:
    static std::shared_ptr<PixBulgeDistortionFilter> create();

    // 0.25 at first.
    float radius() const { return storedFloat(m_radius); }
    void setRadius(float newValue) { storeFloat(m_radius, newValue, m_radiusUniform); }
    // -1 to 1; 0.5 at first.
    float scale() const { return storedFloat(m_scale); }
    void setScale(float newValue) { storeFloat(m_scale, newValue, m_scaleUniform); }

protected:
    PixBulgeDistortionFilter();

private:
    GLint m_radiusUniform = -1;
    GLint m_scaleUniform = -1;
    // On the processing queue.
    float m_radius = 0.25f;
    float m_scale = 0.5f;
};

} // namespace zm
