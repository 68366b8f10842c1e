#include "framework/Source/PixPinchDistortionFilter.h"

namespace zm {

std::shared_ptr<PixPinchDistortionFilter> PixPinchDistortionFilter::create() {
    return std::shared_ptr<PixPinchDistortionFilter>(new PixPinchDistortionFilter);
}

PixPinchDistortionFilter::PixPinchDistortionFilter()
    : PixRadialDistortionFilter(R"(
        highp float percent = 1.0 + ((0.5 - dist) / 0.5) * scale;
        sampled = center + (textureCoordinate - center) * percent;
)",
                                1.0f, 0.5f) {}

} // namespace zm
