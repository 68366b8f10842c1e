#include "framework/Source/PixBulgeDistortionFilter.h"

namespace zm {

std::shared_ptr<PixBulgeDistortionFilter> PixBulgeDistortionFilter::create() {
    return std::shared_ptr<PixBulgeDistortionFilter>(new PixBulgeDistortionFilter);
}

PixBulgeDistortionFilter::PixBulgeDistortionFilter()
    : PixRadialDistortionFilter(R"(
        highp float percent = 1.0 - ((radius - dist) / radius) * scale;
        sampled = center + (textureCoordinate - center) * percent * percent;
)",
                                0.25f, 0.5f) {}

} // namespace zm
