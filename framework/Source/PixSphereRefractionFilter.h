#pragma once

#include "framework/Source/PixDistortionFilter.h"

namespace zm {

// The picture seen through a glass ball at the centre (`radius` in widths of the picture), upside
// down as a lens shows it; transparent black around the ball.
class PixSphereRefractionFilter : public PixDistortionFilter {
public:
    static std::shared_ptr<PixSphereRefractionFilter> create();

    // 0.25 at first.
    float radius() const { return storedFloat(m_radius); }
    void setRadius(float newValue) { storeFloat(m_radius, newValue, m_radiusUniform); }
    // 0.71 at first.
    float refractiveIndex() const { return storedFloat(m_refractiveIndex); }
    void setRefractiveIndex(float newValue) { storeFloat(m_refractiveIndex, newValue, m_refractiveIndexUniform); }

protected:
    // A ball drawn by the shader given, with the same uniforms.
    explicit PixSphereRefractionFilter(const std::string& fragmentShaderString);

private:
    GLint m_radiusUniform = -1;
    GLint m_refractiveIndexUniform = -1;
    // On the processing queue.
    float m_radius = 0.25f;
    float m_refractiveIndex = 0.71f;
};

} // namespace zm
