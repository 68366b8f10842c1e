#pragma once

#include "framework/Source/PixTwoPassTextureSamplingFilter.h"

namespace zm {

// 9 samples around the pixel along the pass's axis, at -4 to +4 steps of (texelWidthOffset,
// texelHeightOffset), in "blurCoordinates".
extern const char* const PixGaussianBlurVertexShader;
// The weighted sum of the 9 samples, alpha included, with the weights 0.05, 0.09, 0.12, 0.15, 0.18,
// 0.15, 0.12, 0.09, 0.05.
extern const char* const PixGaussianBlurFragmentShader;

// A separable Gaussian blur: vertically in the first pass, then horizontally, each with 9 samples
// `blurSize` texels apart. Samples past the edge take the edge pixel. Both passes share one program.
class PixGaussianBlurFilter : public PixTwoPassTextureSamplingFilter {
public:
    static std::shared_ptr<PixGaussianBlurFilter> create();

    // The distance between neighbouring samples, in texels; 1 at first. 0 leaves the image as it is.
    float blurSize() const { return m_blurSize; }
    void setBlurSize(float newValue);

protected:
    PixGaussianBlurFilter();

private:
    float m_blurSize = 1.0f;
};

} // namespace zm
