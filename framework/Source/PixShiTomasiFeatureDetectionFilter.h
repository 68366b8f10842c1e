#pragma once

#include "framework/Source/PixHarrisCornerDetectionFilter.h"

namespace zm {

// Corners by the Shi-Tomasi measure, the smaller eigenvalue of the structure tensor (twice it:
// A + B - sqrt((A - B)² + 4 C²)); its sensitivity is 1.5 at first.
class PixShiTomasiFeatureDetectionFilter : public PixHarrisCornerDetectionFilter {
public:
    static std::shared_ptr<PixShiTomasiFeatureDetectionFilter> create();

protected:
    PixShiTomasiFeatureDetectionFilter();
};

} // namespace zm
