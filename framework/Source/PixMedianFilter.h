#pragma once

#include "framework/Source/Pix3x3TextureSamplingFilter.h"

namespace zm {

// The median of each pixel's 3 x 3 neighbourhood, per colour channel, with alpha 1: removes specks and
// keeps edges.
class PixMedianFilter : public Pix3x3TextureSamplingFilter {
public:
    static std::shared_ptr<PixMedianFilter> create();

protected:
    PixMedianFilter();
};

} // namespace zm
