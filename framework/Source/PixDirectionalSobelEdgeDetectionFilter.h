#pragma once

#include "framework/Source/Pix3x3TextureSamplingFilter.h"

namespace zm {

// The Sobel gradient of a luminance picture (red channel) with its direction: red is the magnitude,
// green and blue the direction rounded to the nearest of the eight neighbours, each component -1, 0
// or 1 stored as (component + 1) / 2. Beside a vertical step from dark (left) to light the pixel is
// (1, 1, 0.5, 1). Where the picture is flat there is no direction: (0, 0.5, 0.5, 1).
class PixDirectionalSobelEdgeDetectionFilter : public Pix3x3TextureSamplingFilter {
public:
    static std::shared_ptr<PixDirectionalSobelEdgeDetectionFilter> create();

protected:
    PixDirectionalSobelEdgeDetectionFilter();
};

} // namespace zm
