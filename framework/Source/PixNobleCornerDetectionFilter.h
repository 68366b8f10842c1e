#pragma once

#include "framework/Source/PixHarrisCornerDetectionFilter.h"

namespace zm {

// Corners by Noble's measure, (A B - C²) / (A + B), which needs no tuning constant.
class PixNobleCornerDetectionFilter : public PixHarrisCornerDetectionFilter {
public:
    static std::shared_ptr<PixNobleCornerDetectionFilter> create();

protected:
    PixNobleCornerDetectionFilter();
};

} // namespace zm
