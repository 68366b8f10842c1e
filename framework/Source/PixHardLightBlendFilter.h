#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The overlay blend with the pictures' parts exchanged: the overlay's dark parts multiply, its light parts
// screen. The base is the first input, the overlay the second.
class PixHardLightBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixHardLightBlendFilter> create();

protected:
    PixHardLightBlendFilter();
};

} // namespace zm
