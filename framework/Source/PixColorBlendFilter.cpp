#include "framework/Source/PixColorBlendFilter.h"

#include "framework/Source/PixNonSeparableBlendShader.h"

namespace zm {

std::shared_ptr<PixColorBlendFilter> PixColorBlendFilter::create() {
    return std::shared_ptr<PixColorBlendFilter>(new PixColorBlendFilter);
}

PixColorBlendFilter::PixColorBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader,
                        nonSeparableBlendFragmentShader("setlum(overlay.rgb, lum(base.rgb))")) {}

} // namespace zm
