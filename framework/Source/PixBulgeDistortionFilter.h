#pragma once

#include "framework/Source/PixRadialDistortionFilter.h"

namespace zm {

// Pushes the picture out from the centre inside the circle: a positive scale (up to 1) enlarges the
// middle, a negative one (down to -1) shrinks it; the circle's edge stays in place. The radius is 0.25
// and the scale 0.5 at first.
class PixBulgeDistortionFilter : public PixRadialDistortionFilter {
public:
    static std::shared_ptr<PixBulgeDistortionFilter> create();

protected:
    PixBulgeDistortionFilter();
};

} // namespace zm
