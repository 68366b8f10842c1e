#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The darker of the two colours, per channel. The base is the first input, the overlay the second.
class PixDarkenBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixDarkenBlendFilter> create();

protected:
    PixDarkenBlendFilter();
};

} // namespace zm
