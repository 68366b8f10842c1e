#pragma once

#include "framework/Source/PixDirectionalNonMaximumSuppressionFilter.h"
#include "framework/Source/PixDirectionalSobelEdgeDetectionFilter.h"
#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixGrayscaleFilter.h"
#include "framework/Source/PixSingleComponentFastBlurFilter.h"
#include "framework/Source/PixWeakPixelInclusionFilter.h"

namespace zm {

// Canny edge detection in five stages: luminance, a light blur, the directional Sobel gradient, its
// thinning along the gradient with a ramp between two thresholds, and the inclusion of pixels that lie
// on lines of others. The result is one-pixel white lines on black.
class PixCannyEdgeDetectionFilter : public PixFilterGroup {
public:
    static std::shared_ptr<PixCannyEdgeDetectionFilter> create();

    // The blur's sample spacing, in texels; 1 at first.
    float blurSize() const { return m_blurFilter->blurSize(); }
    void setBlurSize(float newValue) { m_blurFilter->setBlurSize(newValue); }
    // The gradient's step to a neighbour (see Pix3x3TextureSamplingFilter).
    float texelWidth() const { return m_edgeDetectionFilter->texelWidth(); }
    void setTexelWidth(float newValue) { m_edgeDetectionFilter->setTexelWidth(newValue); }
    float texelHeight() const { return m_edgeDetectionFilter->texelHeight(); }
    void setTexelHeight(float newValue) { m_edgeDetectionFilter->setTexelHeight(newValue); }
    // The gradient magnitudes between which edges ramp in; 0.4 and 0.1 at first.
    float upperThreshold() const { return m_nonMaximumSuppressionFilter->upperThreshold(); }
    void setUpperThreshold(float newValue) { m_nonMaximumSuppressionFilter->setUpperThreshold(newValue); }
    float lowerThreshold() const { return m_nonMaximumSuppressionFilter->lowerThreshold(); }
    void setLowerThreshold(float newValue) { m_nonMaximumSuppressionFilter->setLowerThreshold(newValue); }

protected:
    PixCannyEdgeDetectionFilter();

private:
    const std::shared_ptr<PixGrayscaleFilter> m_luminanceFilter;
    const std::shared_ptr<PixSingleComponentFastBlurFilter> m_blurFilter;
    const std::shared_ptr<PixDirectionalSobelEdgeDetectionFilter> m_edgeDetectionFilter;
    const std::shared_ptr<PixDirectionalNonMaximumSuppressionFilter> m_nonMaximumSuppressionFilter;
    const std::shared_ptr<PixWeakPixelInclusionFilter> m_weakPixelInclusionFilter;
};

} // namespace zm
