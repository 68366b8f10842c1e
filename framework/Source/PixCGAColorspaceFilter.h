#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// The four colours of an old CGA screen: each block of 1/200 by 1/320 of the picture takes the colour
// of its corner pixel, turned into the nearest of black, white, cyan (85/255, 1, 1) and magenta (1,
// 85/255, 1), all opaque. Of equally near colours the first in that order wins.
class PixCGAColorspaceFilter : public PixFilter {
public:
    static std::shared_ptr<PixCGAColorspaceFilter> create();

protected:
    PixCGAColorspaceFilter();
};

} // namespace zm
