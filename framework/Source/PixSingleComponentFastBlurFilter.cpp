#include "framework/Source/PixSingleComponentFastBlurFilter.h"

namespace zm {

std::shared_ptr<PixSingleComponentFastBlurFilter> PixSingleComponentFastBlurFilter::create() {
    return std::shared_ptr<PixSingleComponentFastBlurFilter>(new PixSingleComponentFastBlurFilter);
}

PixSingleComponentFastBlurFilter::PixSingleComponentFastBlurFilter()
    : PixFastBlurFilter(PixBlurredChannels::RedAsLuminance) {}

} // namespace zm
