#pragma once

#include "framework/Source/PixPixellateFilter.h"

namespace zm {

// Black dots on white, one per block, as large as the block's centre is dark: a newspaper's halftone.
class PixHalftoneFilter : public PixPixellateFilter {
public:
    static std::shared_ptr<PixHalftoneFilter> create();

protected:
    PixHalftoneFilter();
};

} // namespace zm
