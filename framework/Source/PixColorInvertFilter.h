#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// Each colour channel taken from 1.
extern const char* const PixColorInvertFragmentShader;

// Turns every colour into its opposite (1 - r, 1 - g, 1 - b); alpha stays.
class PixColorInvertFilter : public PixFilter {
public:
    static std::shared_ptr<PixColorInvertFilter> create();

protected:
    PixColorInvertFilter();
};

} // namespace zm
