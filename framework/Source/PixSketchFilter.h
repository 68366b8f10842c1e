#pragma once

#include "framework/Source/PixSobelEdgeDetectionFilter.h"

namespace zm {

// A pencil sketch: the Sobel edge detector drawn dark on white, 1 - magnitude x edge strength in grey,
// alpha 1.
class PixSketchFilter : public PixSobelEdgeDetectionFilter {
public:
    static std::shared_ptr<PixSketchFilter> create();

protected:
    PixSketchFilter();
};

} // namespace zm
