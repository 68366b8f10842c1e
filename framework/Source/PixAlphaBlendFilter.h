#pragma once

#include "framework/Source/PixMixBlendFilter.h"

namespace zm {

// The overlay laid over the base by its own alpha times `mix`; alpha of the base.
class PixAlphaBlendFilter : public PixMixBlendFilter {
public:
    static std::shared_ptr<PixAlphaBlendFilter> create();

protected:
    PixAlphaBlendFilter();
};

} // namespace zm
