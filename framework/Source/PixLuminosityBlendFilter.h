#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The overlay's luminance with the base's hue and saturation. The base is the first input, the overlay the
// second.
class PixLuminosityBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixLuminosityBlendFilter> create();

protected:
    PixLuminosityBlendFilter();
};

} // namespace zm
