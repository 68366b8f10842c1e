#pragma once

#include "framework/Source/Pix3x3TextureSamplingFilter.h"

namespace zm {

// The colour of the 3 x 3 neighbourhood weighted by "convolutionMatrix", plus `lift`; alpha of the
// centre.
std::string pix3x3ConvolutionShader(float lift);
// The convolution alone (a lift of 0).
extern const std::string Pix3x3ConvolutionFragmentShader;

// A 3 x 3 convolution of the colour channels. The kernel's row `one` weights the row above the pixel
// (left, middle, right), `two` the pixel's own row, `three` the row below.
class Pix3x3ConvolutionFilter : public Pix3x3TextureSamplingFilter {
public:
    static std::shared_ptr<Pix3x3ConvolutionFilter> create();

    // The identity (the centre alone) at first.
    const GPUMatrix3x3& convolutionKernel() const { return m_convolutionKernel; }
    void setConvolutionKernel(const GPUMatrix3x3& newValue);

protected:
    explicit Pix3x3ConvolutionFilter(const std::string& fragmentShaderString = Pix3x3ConvolutionFragmentShader);

private:
    GLint m_convolutionMatrixUniform = -1;
    GPUMatrix3x3 m_convolutionKernel{{0, 0, 0}, {0, 1, 0}, {0, 0, 0}};
};

} // namespace zm
