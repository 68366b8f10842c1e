#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The overlay's hue with the base's saturation and luminance. The base is the first input, the overlay the
// second.
class PixHueBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixHueBlendFilter> create();

protected:
    PixHueBlendFilter();
};

} // namespace zm
