#pragma once

#include "framework/Source/PixSobelEdgeDetectionFilter.h"

namespace zm {

// Over the luminance picture (red channel): the central differences h = bottom - top and v = right -
// left; white where length(h, v) x "edgeStrength" reaches "threshold", else black; alpha 1.
extern const std::string PixThresholdEdgeDetectionFragmentShader;

// Marks the pixels whose luminance changes by at least the threshold between their neighbours either
// side, in white on black.
class PixThresholdEdgeDetectionFilter : public PixSobelEdgeDetectionFilter {
public:
    static std::shared_ptr<PixThresholdEdgeDetectionFilter> create();

    // The change, 0 to about 1.4, from which a pixel is an edge; 0.25 at first.
    float threshold() const { return m_threshold; }
    void setThreshold(float newValue);

protected:
    explicit PixThresholdEdgeDetectionFilter(
        const std::string& gradientFragmentShaderString = PixThresholdEdgeDetectionFragmentShader);

private:
    GLint m_thresholdUniform = -1;
    float m_threshold = 0.25f;
};

} // namespace zm
