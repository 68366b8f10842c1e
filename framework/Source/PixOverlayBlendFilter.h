#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The overlay family of blends of "inputImageTexture" (the base) and "inputImageTexture2" (the
// overlay): each channel multiplies where `decidingPicture` ("base" or "overlay") is dark and screens
// where it is light.
std::string pixOverlayFamilyShader(const std::string& decidingPicture);

// Multiplies the dark parts of the base and screens its light parts, by the overlay. The base is the first
// input, the overlay the second.
class PixOverlayBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixOverlayBlendFilter> create();

protected:
    PixOverlayBlendFilter();
};

} // namespace zm
