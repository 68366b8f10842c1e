#pragma once

#include "framework/Source/PixSeparableBlurFilter.h"

namespace zm {

// A box blur: per pass five samples at 0, -/+1.5 and -/+3.5 steps, each weighted 0.2, which gather nine
// texels in pairs (the centre alone).
class PixBoxBlurFilter : public PixSeparableBlurFilter {
public:
    static std::shared_ptr<PixBoxBlurFilter> create();

protected:
    PixBoxBlurFilter();
};

} // namespace zm
