#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// A gentle overlay: the overlay lightens or darkens the base a little. The base is the first input, the
// overlay the second.
class PixSoftLightBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixSoftLightBlendFilter> create();

protected:
    PixSoftLightBlendFilter();
};

} // namespace zm
