#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// All four channels (c - d) / (1 - d), d = "hazeDistance" + "slope" times the height.
extern const char* const PixHazeFragmentShader;

// Adds (positive distance) or removes (negative) a haze that may grow down the picture by its slope.
class PixHazeFilter : public PixFilter {
public:
    static std::shared_ptr<PixHazeFilter> create();

    // The strength of the haze at the top.
    float distance() const { return m_distance; }
    void setDistance(float newValue);

    // How the haze changes from the top (0) to the bottom (1) of the picture.
    float slope() const { return m_slope; }
    void setSlope(float newValue);

protected:
    PixHazeFilter();

private:
    GLint m_distanceUniform = -1;
    GLint m_slopeUniform = -1;
    float m_distance = 0.2f;
    float m_slope = 0.0f;
};

} // namespace zm
