#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// Brightens: the inverse of multiplying the inverses; black changes nothing. The base is the first input,
// the overlay the second.
class PixScreenBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixScreenBlendFilter> create();

protected:
    PixScreenBlendFilter();
};

} // namespace zm
