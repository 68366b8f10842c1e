#pragma once

#include "framework/Source/PixBoxBlurFilter.h"
#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixGrayscaleFilter.h"
#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// Thresholds each pixel against the mean of its neighbourhood rather than one level for the picture:
// white where its luminance is at least the local mean (a box blur of the luminance) less 0.05, black
// elsewhere; alpha 1. Uneven lighting leaves the strokes of a page legible.
class PixAdaptiveThresholdFilter : public PixFilterGroup {
public:
    static std::shared_ptr<PixAdaptiveThresholdFilter> create();

    // The box blur's sample spacing, which sets the neighbourhood's size; 1 at first.
    float blurSize() const { return m_boxBlurFilter->blurSize(); }
    void setBlurSize(float newValue) { m_boxBlurFilter->setBlurSize(newValue); }

protected:
    PixAdaptiveThresholdFilter();

private:
    const std::shared_ptr<PixGrayscaleFilter> m_luminanceFilter;
    const std::shared_ptr<PixBoxBlurFilter> m_boxBlurFilter;
    const std::shared_ptr<PixTwoInputFilter> m_adaptiveThresholdFilter;
};

} // namespace zm
