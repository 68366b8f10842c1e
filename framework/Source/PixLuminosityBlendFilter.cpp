#include "framework/Source/PixLuminosityBlendFilter.h"

#include "framework/Source/PixNonSeparableBlendShader.h"

namespace zm {

std::shared_ptr<PixLuminosityBlendFilter> PixLuminosityBlendFilter::create() {
    return std::shared_ptr<PixLuminosityBlendFilter>(new PixLuminosityBlendFilter);
}

PixLuminosityBlendFilter::PixLuminosityBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader,
                        nonSeparableBlendFragmentShader("setlum(base.rgb, lum(overlay.rgb))")) {}

} // namespace zm
