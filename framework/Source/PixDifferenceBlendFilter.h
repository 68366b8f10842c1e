#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// How far apart the colours are, per channel; alpha of the base. The base is the first input, the overlay
// the second.
class PixDifferenceBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixDifferenceBlendFilter> create();

protected:
    PixDifferenceBlendFilter();
};

} // namespace zm
