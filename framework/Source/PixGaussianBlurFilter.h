#pragma once

#include "framework/Source/PixSeparableBlurFilter.h"

namespace zm {

// 9 samples around the pixel along the pass's axis, at -4 to +4 steps of (texelWidthOffset,
// texelHeightOffset), in "blurCoordinates".
extern const char* const PixGaussianBlurVertexShader;
// GLSL statements that weigh the 9 samples of "inputImageTexture" into `sum`, alpha included, with the
// weights 0.05, 0.09, 0.12, 0.15, 0.18, 0.15, 0.12, 0.09, 0.05.
extern const char* const PixGaussianBlurTaps;
// The weighted sum of the 9 samples.
extern const std::string PixGaussianBlurFragmentShader;

// A separable Gaussian blur: vertically in the first pass, then horizontally, each with 9 samples
// `blurSize` texels apart. Samples past the edge take the edge pixel. Both passes share one program.
// A blur size of 0 leaves the image as it is.
class PixGaussianBlurFilter : public PixSeparableBlurFilter {
public:
    static std::shared_ptr<PixGaussianBlurFilter> create();

protected:
    // The 9-sample Gaussian vertex shader with another fragment shader, in both passes.
    explicit PixGaussianBlurFilter(const std::string& fragmentShaderString = PixGaussianBlurFragmentShader);
};

} // namespace zm
