#include "framework/Source/PixEmbossFilter.h"

namespace zm {

std::shared_ptr<PixEmbossFilter> PixEmbossFilter::create() {
    return std::shared_ptr<PixEmbossFilter>(new PixEmbossFilter);
}

PixEmbossFilter::PixEmbossFilter() {
    setIntensity(1.0f);
}

void PixEmbossFilter::setIntensity(float newValue) {
    m_intensity = newValue;
    setConvolutionKernel({{-2 * newValue, -newValue, 0}, {-newValue, 1, newValue}, {0, newValue, 2 * newValue}});
}

} // namespace zm
