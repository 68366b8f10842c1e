#pragma once

#include "framework/Source/PixSobelEdgeDetectionFilter.h"

namespace zm {

// The Sobel edge detector with the Prewitt sums: every neighbour weighted 1.
class PixPrewittEdgeDetectionFilter : public PixSobelEdgeDetectionFilter {
public:
    static std::shared_ptr<PixPrewittEdgeDetectionFilter> create();

protected:
    PixPrewittEdgeDetectionFilter();
};

} // namespace zm
