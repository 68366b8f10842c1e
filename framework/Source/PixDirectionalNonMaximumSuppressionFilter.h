#pragma once

#include "framework/Source/PixFilter.h"
#include "framework/Source/PixTexelSampling.h"

namespace zm {

// Thins the directional Sobel output (magnitude in red, rounded direction in green and blue) along the
// gradient: a pixel stays where its magnitude is at least that of both neighbours along its direction,
// weighted by a smooth ramp from the lower to the upper threshold; black elsewhere, alpha 1.
class PixDirectionalNonMaximumSuppressionFilter : public PixFilter {
public:
    static std::shared_ptr<PixDirectionalNonMaximumSuppressionFilter> create();

    // The step to a neighbour, in texture coordinates: one pixel of the framebuffer until set by hand;
    // setting either keeps both from then on.
    float texelWidth() const { return m_texelSampling.texelWidth(); }
    void setTexelWidth(float newValue) { m_texelSampling.setTexelWidth(newValue); }
    float texelHeight() const { return m_texelSampling.texelHeight(); }
    void setTexelHeight(float newValue) { m_texelSampling.setTexelHeight(newValue); }
    // The magnitudes at which the ramp reaches 1 and starts from 0; 0.5 and 0.1 at first.
    float upperThreshold() const { return m_upperThreshold; }
    void setUpperThreshold(float newValue);
    float lowerThreshold() const { return m_lowerThreshold; }
    void setLowerThreshold(float newValue);

protected:
    PixDirectionalNonMaximumSuppressionFilter();

    void setupFilterForSize(core::Size filterFrameSize) override;
    void setUniformsForProgramAtIndex(unsigned programIndex) override;

private:
    PixTexelSampling m_texelSampling;
    GLint m_upperThresholdUniform = -1;
    GLint m_lowerThresholdUniform = -1;
    float m_upperThreshold = 0.5f;
    float m_lowerThreshold = 0.1f;
};

} // namespace zm
