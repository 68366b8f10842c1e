#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The overlay over the base, as painting over it does (colours not premultiplied). The base is the first
// input, the overlay the second.
class PixNormalBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixNormalBlendFilter> create();

protected:
    PixNormalBlendFilter();
};

} // namespace zm
