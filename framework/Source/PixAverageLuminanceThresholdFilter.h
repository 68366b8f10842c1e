#pragma once

#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixLuminanceThresholdFilter.h"
#include "framework/Source/PixLuminosity.h"

namespace zm {

// Thresholds each frame at its own average luminance times a multiplier: the luminosity is measured
// first and sets the threshold that the same frame is then drawn with.
class PixAverageLuminanceThresholdFilter : public PixFilterGroup {
public:
    static std::shared_ptr<PixAverageLuminanceThresholdFilter> create();

    // What the average luminance is multiplied by to give the threshold; 1 at first.
    float thresholdMultiplier() const;
    void setThresholdMultiplier(float newValue);

protected:
    PixAverageLuminanceThresholdFilter();

private:
    const std::shared_ptr<PixLuminosity> m_luminosityFilter;
    const std::shared_ptr<PixLuminanceThresholdFilter> m_luminanceThresholdFilter;
    // Shared with the luminosity's block, which may outlive the group while a source still holds the
    // luminosity filter. On the processing queue.
    const std::shared_ptr<float> m_thresholdMultiplier;
};

} // namespace zm
