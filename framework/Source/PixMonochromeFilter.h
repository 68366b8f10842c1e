#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// The luminance overlaid with "filterColor", mixed with the input by "intensity".
extern const char* const PixMonochromeFragmentShader;

// Tones the picture in one colour: each pixel's luminance, overlaid with the colour.
class PixMonochromeFilter : public PixFilter {
public:
    static std::shared_ptr<PixMonochromeFilter> create();

    // 1 at first: the toned grey alone; 0 gives the input.
    float intensity() const { return m_intensity; }
    void setIntensity(float newValue);
    // (0.6, 0.45, 0.3, 1) at first, a warm brown; the alpha is not used.
    const GPUVector4& color() const { return m_color; }
    void setColor(const GPUVector4& newValue);
    void setColorRed(GLfloat redComponent, GLfloat greenComponent, GLfloat blueComponent);

protected:
    PixMonochromeFilter();

private:
    GLint m_intensityUniform = -1;
    GLint m_filterColorUniform = -1;
    float m_intensity = 1.0f;
    GPUVector4 m_color{0.6f, 0.45f, 0.3f, 1.0f};
};

} // namespace zm
