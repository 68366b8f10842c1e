#include "framework/Source/PixDissolveBlendFilter.h"

namespace zm {

std::shared_ptr<PixDissolveBlendFilter> PixDissolveBlendFilter::create() {
    return std::shared_ptr<PixDissolveBlendFilter>(new PixDissolveBlendFilter);
}

PixDissolveBlendFilter::PixDissolveBlendFilter()
    : PixMixBlendFilter("mix(base, overlay, mixturePercent)") {}

} // namespace zm
