#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// Multiplies the colours: darkens, white changes nothing. The base is the first input, the overlay the
// second.
class PixMultiplyBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixMultiplyBlendFilter> create();

protected:
    PixMultiplyBlendFilter();
};

} // namespace zm
