#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Adds "brightness" to the red, green and blue channels and keeps alpha.
extern const char* const PixBrightnessFragmentShader;

// Brightens (positive) or darkens (negative) every colour channel by the same amount, on the 0 to 1
// scale; results are clamped when written. Any value is accepted: 1 turns every colour white.
class PixBrightnessFilter : public PixFilter {
public:
    static std::shared_ptr<PixBrightnessFilter> create();

    // 0 at first.
    float brightness() const { return m_brightness; }
    void setBrightness(float newValue);

protected:
    PixBrightnessFilter();

private:
    GLint m_brightnessUniform = -1;
    float m_brightness = 0.0f;
};

} // namespace zm
