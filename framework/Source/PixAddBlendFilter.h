#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// The colours added, per channel, up to white. The base is the first input, the overlay the second.
class PixAddBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixAddBlendFilter> create();

protected:
    PixAddBlendFilter();
};

} // namespace zm
