#pragma once

#include "framework/Source/PixTexelSampling.h"
#include "framework/Source/PixTwoPassFilter.h"

namespace zm {

// Over the 3 x 3 neighbourhood of a luminance picture (red channel): the Sobel sums across the rows,
// h = -tl - 2t - tr + bl + 2b + br, and across the columns, v = -bl - 2l - tl + br + 2r + tr; the
// magnitude length(h, v) x "edgeStrength" in grey, alpha 1.
extern const std::string PixSobelEdgeDetectionFragmentShader;

// The Sobel edge detector: the first pass takes the luminance, the second the gradient magnitude over
// each pixel's eight neighbours (the gradient shader runs over the neighbourhood vertex shader, with
// "texelWidth", "texelHeight" and "edgeStrength"). The family's other members pass their own gradient
// shader. Fed a luminance-only input (a camera's, say) it skips the first pass.
class PixSobelEdgeDetectionFilter : public PixTwoPassFilter {
public:
    static std::shared_ptr<PixSobelEdgeDetectionFilter> create();

    // The step to a neighbour, in texture coordinates: one pixel of the framebuffer until set by hand;
    // setting either keeps both from then on.
    float texelWidth() const { return m_texelSampling.texelWidth(); }
    void setTexelWidth(float newValue) { m_texelSampling.setTexelWidth(newValue); }
    float texelHeight() const { return m_texelSampling.texelHeight(); }
    void setTexelHeight(float newValue) { m_texelSampling.setTexelHeight(newValue); }
    // What the gradient is multiplied by; 1 at first.
    float edgeStrength() const { return m_edgeStrength; }
    void setEdgeStrength(float newValue);

    bool wantsMonochromeInput() const override { return true; }
    bool providesMonochromeOutput() const override { return true; }

protected:
    explicit PixSobelEdgeDetectionFilter(const std::string& gradientFragmentShaderString =
                                             PixSobelEdgeDetectionFragmentShader);

    void setUniformsForProgramAtIndex(unsigned programIndex) override;
    // Where the gradient pass's program takes the uniform; -1 for none.
    GLint secondProgramUniformLocation(const std::string& uniformName) const;

private:
    PixTexelSampling m_texelSampling;
    GLint m_edgeStrengthUniform = -1;
    float m_edgeStrength = 1.0f;
};

} // namespace zm
