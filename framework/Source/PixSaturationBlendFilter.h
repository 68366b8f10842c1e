#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The overlay's saturation with the base's hue and luminance. The base is the first input, the overlay the
// second.
class PixSaturationBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixSaturationBlendFilter> create();

protected:
    PixSaturationBlendFilter();
};

} // namespace zm
