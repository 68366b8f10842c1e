#pragma once

#include "framework/Source/PixMixBlendFilter.h"

namespace zm {

// The base and the overlay mixed by `mix`, all four channels: 0 is the base, 1 the overlay.
class PixDissolveBlendFilter : public PixMixBlendFilter {
public:
    static std::shared_ptr<PixDissolveBlendFilter> create();

protected:
    PixDissolveBlendFilter();
};

} // namespace zm
