#include "framework/Source/PixSmoothToonFilter.h"

namespace zm {

std::shared_ptr<PixSmoothToonFilter> PixSmoothToonFilter::create() {
    return std::shared_ptr<PixSmoothToonFilter>(new PixSmoothToonFilter);
}

PixSmoothToonFilter::PixSmoothToonFilter()
    : m_blurFilter(PixGaussianBlurFilter::create())
    , m_toonFilter(PixToonFilter::create()) {
    addFilter(m_blurFilter);
    addFilter(m_toonFilter);
    m_blurFilter->addTarget(m_toonFilter);
    setInitialFilters({m_blurFilter});
    setTerminalFilter(m_toonFilter);
    setBlurSize(0.5f);
    setThreshold(0.2f);
    setQuantizationLevels(10.0f);
}

} // namespace zm
