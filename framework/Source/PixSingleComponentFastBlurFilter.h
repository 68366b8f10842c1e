#pragma once

#include "framework/Source/PixFastBlurFilter.h"

namespace zm {

// The fast blur of the red channel alone, for luminance pictures: (v, v, v, 1).
class PixSingleComponentFastBlurFilter : public PixFastBlurFilter {
public:
    static std::shared_ptr<PixSingleComponentFastBlurFilter> create();

protected:
    PixSingleComponentFastBlurFilter();
};

} // namespace zm
