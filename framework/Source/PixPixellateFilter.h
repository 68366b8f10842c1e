#pragma once

#include "framework/Source/PixDistortionFilter.h"

namespace zm {

// Coarsens the picture into square blocks, each the colour at its centre.
class PixPixellateFilter : public PixDistortionFilter {
public:
    static std::shared_ptr<PixPixellateFilter> create();

    // A block's width as a fraction of the picture's; 0.05 at first. Never less than one pixel of the
    // input (1 / 2048 before any input).
    float fractionalWidthOfAPixel() const { return storedFloat(m_fractionalWidthOfAPixel); }
    void setFractionalWidthOfAPixel(float newValue);

protected:
    // The pixellate shader's kin: a shader with "fractionalWidthOfPixel" and the given uniforms, and
    // the block width it starts at.
    PixPixellateFilter(const std::string& fragmentShaderString, const Uniforms& uniforms,
                       float fractionalWidthOfAPixel);

private:
    GLint m_fractionalWidthOfAPixelUniform = -1;
    float m_fractionalWidthOfAPixel = 0.05f; // on the processing queue
};

} // namespace zm
