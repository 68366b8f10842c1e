#pragma once

#include "framework/Source/PixColorMatrixFilter.h"

namespace zm {

// Old photographic brown: a colour matrix that takes each colour to a brown of its luminance, at full
// intensity (lower it to keep some of the colour).
class PixSepiaFilter : public PixColorMatrixFilter {
public:
    static std::shared_ptr<PixSepiaFilter> create();

    static constexpr GPUMatrix4x4 kSepiaMatrix{{0.3588f, 0.7044f, 0.1368f, 0.0f},
                                               {0.2990f, 0.5870f, 0.1140f, 0.0f},
                                               {0.2392f, 0.4696f, 0.0912f, 0.0f},
                                               {0.0f, 0.0f, 0.0f, 1.0f}};

protected:
    PixSepiaFilter();
};

} // namespace zm
