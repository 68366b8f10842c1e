#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Red, green and blue times "redAdjustment", "greenAdjustment" and "blueAdjustment".
extern const char* const PixRGBFragmentShader;

// Scales the red, green and blue channels each by its own factor.
class PixRGBFilter : public PixFilter {
public:
    static std::shared_ptr<PixRGBFilter> create();

    // The factor of the red channel; 1 keeps it.
    float red() const { return m_red; }
    void setRed(float newValue);

    // The factor of the green channel; 1 keeps it.
    float green() const { return m_green; }
    void setGreen(float newValue);

    // The factor of the blue channel; 1 keeps it.
    float blue() const { return m_blue; }
    void setBlue(float newValue);

protected:
    PixRGBFilter();

private:
    GLint m_redUniform = -1;
    GLint m_greenUniform = -1;
    GLint m_blueUniform = -1;
    float m_red = 1.0f;
    float m_green = 1.0f;
    float m_blue = 1.0f;
};

} // namespace zm
