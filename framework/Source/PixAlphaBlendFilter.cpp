#include "framework/Source/PixAlphaBlendFilter.h"

namespace zm {

std::shared_ptr<PixAlphaBlendFilter> PixAlphaBlendFilter::create() {
    return std::shared_ptr<PixAlphaBlendFilter>(new PixAlphaBlendFilter);
}

PixAlphaBlendFilter::PixAlphaBlendFilter()
    : PixMixBlendFilter("vec4(mix(base.rgb, overlay.rgb, overlay.a * mixturePercent), base.a)") {}

} // namespace zm
