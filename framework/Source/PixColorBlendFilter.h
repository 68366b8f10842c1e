#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The overlay's hue and saturation with the base's luminance. The base is the first input, the overlay the
// second.
class PixColorBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixColorBlendFilter> create();

protected:
    PixColorBlendFilter();
};

} // namespace zm
