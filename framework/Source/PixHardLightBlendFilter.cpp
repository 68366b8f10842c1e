#include "framework/Source/PixHardLightBlendFilter.h"

#include "framework/Source/PixOverlayBlendFilter.h"

namespace zm {

std::shared_ptr<PixHardLightBlendFilter> PixHardLightBlendFilter::create() {
    return std::shared_ptr<PixHardLightBlendFilter>(new PixHardLightBlendFilter);
}

PixHardLightBlendFilter::PixHardLightBlendFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, pixOverlayFamilyShader("overlay")) {}

} // namespace zm
