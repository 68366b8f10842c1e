#include "framework/Source/PixLowPassFilter.h"

namespace zm {

std::shared_ptr<PixLowPassFilter> PixLowPassFilter::create() {
    return std::shared_ptr<PixLowPassFilter>(new PixLowPassFilter);
}

PixLowPassFilter::PixLowPassFilter()
    : m_bufferFilter(PixBuffer::create())
    , m_dissolveBlendFilter(PixDissolveBlendFilter::create()) {
    addFilter(m_bufferFilter);
    addFilter(m_dissolveBlendFilter);
    // The frame is slot 0, the previous output slot 1; the dissolve draws at every frame, without waiting
    // for the buffer, which hands on its previous frame only once the dissolve has drawn.
    m_dissolveBlendFilter->disableSecondFrameCheck();
    m_dissolveBlendFilter->addTarget(m_bufferFilter);
    m_bufferFilter->addTarget(m_dissolveBlendFilter, 1);
    setInitialFilters({m_dissolveBlendFilter});
    setTerminalFilter(m_dissolveBlendFilter);
    setFilterStrength(0.5f);
}

PixLowPassFilter::~PixLowPassFilter() {
    // The loop of the dissolve and the buffer would otherwise keep both alive.
    m_bufferFilter->removeAllTargets();
}

} // namespace zm
