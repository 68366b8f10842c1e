#pragma once

#include "framework/Source/PixSobelEdgeDetectionFilter.h"

namespace zm {

// The products of the luminance's derivatives that corner detection sums: with dx and dy the Prewitt
// sums across the columns and the rows, times the edge strength, the pixel is (dx², dy², (dx dy + 1) / 2,
// 1). A flat picture gives (0, 0, 0.5, 1).
class PixXYDerivativeFilter : public PixSobelEdgeDetectionFilter {
public:
    static std::shared_ptr<PixXYDerivativeFilter> create();

protected:
    PixXYDerivativeFilter();
};

} // namespace zm
