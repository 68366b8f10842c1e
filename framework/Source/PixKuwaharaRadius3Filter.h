#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// The Kuwahara filter at its default radius of 3, with the radius fixed in the shader so that its loops
// unroll.
class PixKuwaharaRadius3Filter : public PixFilter {
public:
    static std::shared_ptr<PixKuwaharaRadius3Filter> create();

protected:
    PixKuwaharaRadius3Filter();
};

} // namespace zm
