#pragma once

#include "framework/Source/PixGaussianBlurFilter.h"

namespace zm {

// The 9-sample Gaussian blur of the red channel alone, for luminance pictures: (v, v, v, 1).
class PixSingleComponentGaussianBlurFilter : public PixGaussianBlurFilter {
public:
    static std::shared_ptr<PixSingleComponentGaussianBlurFilter> create();

protected:
    PixSingleComponentGaussianBlurFilter();
};

} // namespace zm
