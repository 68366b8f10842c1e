#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The lighter of the two colours, per channel (alpha too). The base is the first input, the overlay the
// second.
class PixLightenBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixLightenBlendFilter> create();

protected:
    PixLightenBlendFilter();
};

} // namespace zm
