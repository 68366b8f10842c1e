#pragma once

#include "framework/Source/PixTwoPassTextureSamplingFilter.h"

namespace zm {

// A blur of two passes, vertical then horizontal, whose samples lie `blurSize` texels apart in both.
class PixSeparableBlurFilter : public PixTwoPassTextureSamplingFilter {
public:
    // The distance between neighbouring samples, in texels; 1 at first. It sets both passes' spacing.
    float blurSize() const { return m_blurSize; }
    void setBlurSize(float newValue);

protected:
    // Both passes run the same pair of shaders.
    PixSeparableBlurFilter(const std::string& vertexShaderString, const std::string& fragmentShaderString);
    // Both passes sample with the same vertex shader; the second pass finishes with its own fragment
    // shader.
    PixSeparableBlurFilter(const std::string& vertexShaderString, const std::string& fragmentShaderString,
                           const std::string& secondStageFragmentShaderString);

private:
    float m_blurSize = 1.0f;
};

} // namespace zm
