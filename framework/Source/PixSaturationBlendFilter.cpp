#include "framework/Source/PixSaturationBlendFilter.h"

#include "framework/Source/PixNonSeparableBlendShader.h"

namespace zm {

std::shared_ptr<PixSaturationBlendFilter> PixSaturationBlendFilter::create() {
    return std::shared_ptr<PixSaturationBlendFilter>(new PixSaturationBlendFilter);
}

PixSaturationBlendFilter::PixSaturationBlendFilter()
    : PixTwoInputFilter(
          PixTwoInputVertexShader,
          nonSeparableBlendFragmentShader("setlum(setsat(base.rgb, sat(overlay.rgb)), lum(base.rgb))")) {}

} // namespace zm
