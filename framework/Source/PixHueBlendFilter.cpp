#include "framework/Source/PixHueBlendFilter.h"

#include "framework/Source/PixNonSeparableBlendShader.h"

namespace zm {

std::shared_ptr<PixHueBlendFilter> PixHueBlendFilter::create() {
    return std::shared_ptr<PixHueBlendFilter>(new PixHueBlendFilter);
}

PixHueBlendFilter::PixHueBlendFilter()
    : PixTwoInputFilter(
          PixTwoInputVertexShader,
          nonSeparableBlendFragmentShader("setlum(setsat(overlay.rgb, sat(base.rgb)), lum(base.rgb))")) {}

} // namespace zm
