#pragma once

#include "framework/Source/PixTwoPassFilter.h"

namespace zm {

// A two-pass filter for separable kernels: the first pass samples along the image's vertical axis, the
// second along its horizontal axis, each stepping a given number of texels. Both shader programs take
// the step as the uniforms "texelWidthOffset" and "texelHeightOffset" (in texture coordinates).
class PixTwoPassTextureSamplingFilter : public PixTwoPassFilter {
public:
    // The first pass's step, in texels; 1 at first.
    float verticalTexelSpacing() const { return m_verticalTexelSpacing; }
    void setVerticalTexelSpacing(float newValue);
    // The second pass's step, in texels; 1 at first.
    float horizontalTexelSpacing() const { return m_horizontalTexelSpacing; }
    void setHorizontalTexelSpacing(float newValue);

protected:
    PixTwoPassTextureSamplingFilter(const std::string& firstStageVertexShaderString,
                                    const std::string& firstStageFragmentShaderString,
                                    const std::string& secondStageVertexShaderString,
                                    const std::string& secondStageFragmentShaderString);

    void setUniformsForProgramAtIndex(unsigned programIndex) override;
    // Recomputes the steps of both passes for the framebuffer size.
    void setupFilterForSize(core::Size filterFrameSize) override;

    // Set on the processing queue; subclasses change them there and then call setupFilterForSize.
    float m_verticalTexelSpacing = 1.0f;
    float m_horizontalTexelSpacing = 1.0f;
    // The steps each pass's samples take, written before each draw; on the processing queue.
    GLfloat m_verticalPassTexelWidthOffset = 0;
    GLfloat m_verticalPassTexelHeightOffset = 0;
    GLfloat m_horizontalPassTexelWidthOffset = 0;
    GLfloat m_horizontalPassTexelHeightOffset = 0;

private:
    GLint m_verticalPassTexelWidthOffsetUniform = -1;
    GLint m_verticalPassTexelHeightOffsetUniform = -1;
    GLint m_horizontalPassTexelWidthOffsetUniform = -1;
    GLint m_horizontalPassTexelHeightOffsetUniform = -1;
};

} // namespace zm
