#pragma once

#include "framework/Source/Pix3x3TextureSamplingFilter.h"

namespace zm {

// The last stage of Canny edge detection: white where a pixel of the thinned edge map (red channel) is
// lit (at least 0.01) and its 3 x 3 neighbourhood, itself included, sums to at least 1.5, so that it
// lies on a line of edge pixels; black elsewhere, alpha 1.
class PixWeakPixelInclusionFilter : public Pix3x3TextureSamplingFilter {
public:
    static std::shared_ptr<PixWeakPixelInclusionFilter> create();

protected:
    PixWeakPixelInclusionFilter();
};

} // namespace zm
