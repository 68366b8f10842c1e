#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The overlay taken from the base; alpha of the base. The base is the first input, the overlay the second.
class PixSubtractBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixSubtractBlendFilter> create();

protected:
    PixSubtractBlendFilter();
};

} // namespace zm
