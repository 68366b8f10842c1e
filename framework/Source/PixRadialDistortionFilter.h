#pragma once

#include "framework/Source/PixDistortionFilter.h"

#include <string_view>

namespace zm {

// A distortion inside a circle of `radius` around the centre (in widths of the picture), by `scale`;
// outside the circle the picture stays as it is.
class PixRadialDistortionFilter : public PixDistortionFilter {
public:
    float radius() const { return storedFloat(m_radius); }
    void setRadius(float newValue) { storeFloat(m_radius, newValue, m_radiusUniform); }
    float scale() const { return storedFloat(m_scale); }
    void setScale(float newValue) { storeFloat(m_scale, newValue, m_scaleUniform); }

protected:
    // `sampling` sets `sampled`, where a pixel at `textureCoordinate` inside the circle reads the input,
    // from `dist` (its distance to `center`, in widths), `radius` and `scale`.
    PixRadialDistortionFilter(std::string_view sampling, float radius, float scale);

private:
    GLint m_radiusUniform = -1;
    GLint m_scaleUniform = -1;
    // On the processing queue.
    float m_radius;
    float m_scale;
};

} // namespace zm
