#include "framework/Source/PixAverageLuminanceThresholdFilter.h"

#include "framework/Source/PixContext.h"

#include <cmath>

namespace zm {

std::shared_ptr<PixAverageLuminanceThresholdFilter> PixAverageLuminanceThresholdFilter::create() {
    return std::shared_ptr<PixAverageLuminanceThresholdFilter>(new PixAverageLuminanceThresholdFilter);
}

PixAverageLuminanceThresholdFilter::PixAverageLuminanceThresholdFilter()
    : m_luminosityFilter(PixLuminosity::create())
    , m_luminanceThresholdFilter(PixLuminanceThresholdFilter::create())
    , m_thresholdMultiplier(std::make_shared<float>(1.0f)) {
    addFilter(m_luminosityFilter);
    addFilter(m_luminanceThresholdFilter);
    // The luminosity takes each frame first, and a uniform set on the processing queue is written at
    // once, so the threshold applies to the frame it was measured on.
    m_luminosityFilter->setLuminosityProcessingFinishedBlock(
        [threshold = std::weak_ptr<PixLuminanceThresholdFilter>(m_luminanceThresholdFilter),
         multiplier = m_thresholdMultiplier](float luminosity, PixFrameTime) {
            // A frame too small to measure keeps the threshold it had.
            if (const auto filter = threshold.lock(); filter && !std::isnan(luminosity))
                filter->setThreshold(luminosity * *multiplier);
        });
    setInitialFilters({m_luminosityFilter, m_luminanceThresholdFilter});
    setTerminalFilter(m_luminanceThresholdFilter);
}

float PixAverageLuminanceThresholdFilter::thresholdMultiplier() const {
    float value = 0;
    runSynchronouslyOnContextQueue([&] { value = *m_thresholdMultiplier; });
    return value;
}

void PixAverageLuminanceThresholdFilter::setThresholdMultiplier(float newValue) {
    runSynchronouslyOnContextQueue([&] { *m_thresholdMultiplier = newValue; });
}

} // namespace zm
