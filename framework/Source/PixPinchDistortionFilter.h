#pragma once

#include "framework/Source/PixRadialDistortionFilter.h"

namespace zm {

// Pulls the picture in towards the centre inside the circle, or pushes it out for a negative scale
// (-2 to 2). The radius is 1 and the scale 0.5 at first.
class PixPinchDistortionFilter : public PixRadialDistortionFilter {
public:
    static std::shared_ptr<PixPinchDistortionFilter> create();

protected:
    PixPinchDistortionFilter();
};

} // namespace zm
