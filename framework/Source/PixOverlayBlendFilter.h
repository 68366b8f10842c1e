#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// Multiplies the dark parts of the base and screens its light parts, by the overlay. The base is the first
// input, the overlay the second.
class PixOverlayBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixOverlayBlendFilter> create();

protected:
    PixOverlayBlendFilter();
};

} // namespace zm
