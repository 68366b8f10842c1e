#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Turns the colour's chroma in the YIQ plane by "hueAdjust" (radians), keeping its luma.
extern const char* const PixHueFragmentShader;

// Turns every hue by an angle.
class PixHueFilter : public PixFilter {
public:
    static std::shared_ptr<PixHueFilter> create();

    // The turn in radians; set in degrees, taken modulo 360 with the sign kept. 90 degrees at first.
    float hue() const { return m_hue; }
    void setHue(float degrees);

protected:
    PixHueFilter();

private:
    GLint m_hueAdjustUniform = -1;
    float m_hue = 0;
};

} // namespace zm
