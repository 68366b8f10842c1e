#pragma once

#include "framework/Source/PixDistortionFilter.h"

namespace zm {

// Stretches the picture out from the centre, as in a fairground mirror.
class PixStretchDistortionFilter : public PixDistortionFilter {
public:
    static std::shared_ptr<PixStretchDistortionFilter> create();


protected:
    PixStretchDistortionFilter();
};

} // namespace zm
