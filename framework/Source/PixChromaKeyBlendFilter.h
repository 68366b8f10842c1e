#pragma once

#include "framework/Source/PixChromaKeying.h"
#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// Shows the overlay where the base is near a key colour (green at first): pixels whose chroma lies
// within the threshold of the key's take the overlay, those beyond the threshold and the smoothing keep
// the base, the ones between mix. The base is the first input, the overlay the second.
class PixChromaKeyBlendFilter : public PixChromaKeying<PixTwoInputFilter> {
public:
    static std::shared_ptr<PixChromaKeyBlendFilter> create();

protected:
    PixChromaKeyBlendFilter();
};

} // namespace zm
