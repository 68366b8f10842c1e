#pragma once

#include "framework/Source/PixDifferenceBlendFilter.h"
#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixLowPassFilter.h"

namespace zm {

// What changed lately in a stream: the absolute difference, per channel, between each frame and its
// running average (PixLowPassFilter); alpha of the frame.
class PixHighPassFilter : public PixFilterGroup {
public:
    static std::shared_ptr<PixHighPassFilter> create();

    // The running average's strength, 0 to 1; 0.5 at first.
    float filterStrength() const { return m_lowPassFilter->filterStrength(); }
    void setFilterStrength(float newValue) { m_lowPassFilter->setFilterStrength(newValue); }

protected:
    PixHighPassFilter();

private:
    const std::shared_ptr<PixLowPassFilter> m_lowPassFilter;
    const std::shared_ptr<PixDifferenceBlendFilter> m_differenceBlendFilter;
};

} // namespace zm
