#pragma once

#include "framework/Source/PixChromaKeying.h"
#include "framework/Source/PixFilter.h"

namespace zm {

// Makes a key colour (green at first) transparent: pixels whose chroma lies within the threshold of
// the key's vanish, those beyond the threshold and the smoothing stay, and the ones between fade.
class PixChromaKeyFilter : public PixChromaKeying<PixFilter> {
public:
    static std::shared_ptr<PixChromaKeyFilter> create();

protected:
    PixChromaKeyFilter();
};

} // namespace zm
