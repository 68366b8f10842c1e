#pragma once

#include "framework/Source/Pix3x3TextureSamplingFilter.h"

namespace zm {

// The local binary pattern of each pixel's red channel, a texture descriptor: one bit per neighbour that
// is at least as bright as the centre (1 top right, 2 top, 4 top left, 8 left, 16 bottom left, 32 bottom,
// 64 bottom right, 128 right), the byte in grey; alpha 1.
class PixLocalBinaryPatternFilter : public Pix3x3TextureSamplingFilter {
public:
    static std::shared_ptr<PixLocalBinaryPatternFilter> create();

protected:
    PixLocalBinaryPatternFilter();
};

} // namespace zm
