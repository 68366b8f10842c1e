#pragma once

#include "framework/Source/PixThresholdEdgeDetectionFilter.h"

namespace zm {

// The threshold edge detector drawn as a sketch: black where the change reaches the threshold, white
// elsewhere, alpha 1.
class PixThresholdSketchFilter : public PixThresholdEdgeDetectionFilter {
public:
    static std::shared_ptr<PixThresholdSketchFilter> create();

protected:
    PixThresholdSketchFilter();
};

} // namespace zm
