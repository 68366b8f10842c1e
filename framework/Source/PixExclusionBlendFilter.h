#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The difference blend with less contrast. The base is the first input, the overlay the second.
class PixExclusionBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixExclusionBlendFilter> create();

protected:
    PixExclusionBlendFilter();
};

} // namespace zm
