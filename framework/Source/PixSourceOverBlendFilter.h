#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The overlay over the base by the overlay's alpha, all four channels. The base is the first input, the
// overlay the second.
class PixSourceOverBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixSourceOverBlendFilter> create();

protected:
    PixSourceOverBlendFilter();
};

} // namespace zm
