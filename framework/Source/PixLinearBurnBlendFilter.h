#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The colours added less white, kept within 0 to 1; alpha of the base. The base is the first input, the
// overlay the second.
class PixLinearBurnBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixLinearBurnBlendFilter> create();

protected:
    PixLinearBurnBlendFilter();
};

} // namespace zm
