#include "framework/Source/PixHighPassFilter.h"

namespace zm {

std::shared_ptr<PixHighPassFilter> PixHighPassFilter::create() {
    return std::shared_ptr<PixHighPassFilter>(new PixHighPassFilter);
}

PixHighPassFilter::PixHighPassFilter()
    : m_lowPassFilter(PixLowPassFilter::create())
    , m_differenceBlendFilter(PixDifferenceBlendFilter::create()) {
    addFilter(m_lowPassFilter);
    addFilter(m_differenceBlendFilter);
    // The average is brought up to date first; the frame itself then reaches slot 0.
    m_lowPassFilter->addTarget(m_differenceBlendFilter, 1);
    setInitialFilters({m_lowPassFilter, m_differenceBlendFilter});
    setTerminalFilter(m_differenceBlendFilter);
    setFilterStrength(0.5f);
}

} // namespace zm
