#pragma once

#include "framework/Source/Pix3x3TextureSamplingFilter.h"

namespace zm {

// Thins a response picture (red channel) to its peaks: a pixel keeps its colour where it is strictly
// above its top, top-left, left and bottom-left neighbours and not below the other four; elsewhere it is
// black. Alpha 1. Of two equal neighbouring peaks exactly one survives: the left (or the upper).
class PixNonMaximumSuppressionFilter : public Pix3x3TextureSamplingFilter {
public:
    static std::shared_ptr<PixNonMaximumSuppressionFilter> create();

protected:
    PixNonMaximumSuppressionFilter();
};

} // namespace zm
