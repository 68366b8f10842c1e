#pragma once

#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixToonFilter.h"

namespace zm {

// The cartoon filter over a slightly blurred picture, so that fine texture draws fewer outlines: a
// Gaussian blur feeding a toon filter.
class PixSmoothToonFilter : public PixFilterGroup {
public:
    static std::shared_ptr<PixSmoothToonFilter> create();

    // The blur's sample spacing, in texels; 0.5 at first.
    float blurSize() const { return m_blurFilter->blurSize(); }
    void setBlurSize(float newValue) { m_blurFilter->setBlurSize(newValue); }
    // The toon filter's.
    float texelWidth() const { return m_toonFilter->texelWidth(); }
    void setTexelWidth(float newValue) { m_toonFilter->setTexelWidth(newValue); }
    float texelHeight() const { return m_toonFilter->texelHeight(); }
    void setTexelHeight(float newValue) { m_toonFilter->setTexelHeight(newValue); }
    float threshold() const { return m_toonFilter->threshold(); }
    void setThreshold(float newValue) { m_toonFilter->setThreshold(newValue); }
    float quantizationLevels() const { return m_toonFilter->quantizationLevels(); }
    void setQuantizationLevels(float newValue) { m_toonFilter->setQuantizationLevels(newValue); }

protected:
    PixSmoothToonFilter();

private:
    const std::shared_ptr<PixGaussianBlurFilter> m_blurFilter;
    const std::shared_ptr<PixToonFilter> m_toonFilter;
};

} // namespace zm
