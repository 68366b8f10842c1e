#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// Darkens the base by the overlay's darkness, with more contrast. The base is the first input, the overlay
// the second.
class PixColorBurnBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixColorBurnBlendFilter> create();

protected:
    PixColorBurnBlendFilter();
};

} // namespace zm
