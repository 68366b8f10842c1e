#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The base divided by the overlay, per channel. The base is the first input, the overlay the second.
class PixDivideBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixDivideBlendFilter> create();

protected:
    PixDivideBlendFilter();
};

} // namespace zm
