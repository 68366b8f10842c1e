#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// Brightens the base by the overlay's brightness. The base is the first input, the overlay the second.
class PixColorDodgeBlendFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixColorDodgeBlendFilter> create();

protected:
    PixColorDodgeBlendFilter();
};

} // namespace zm
