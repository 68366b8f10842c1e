#pragma once

#include "framework/Source/PixFilter.h"

namespace zm {

// A glow: the picture plus the square of the sum of 48 samples around each pixel (a grid 0.004 of the
// picture apart), more strongly where the pixel is dark (by its red channel), all four components.
class PixBloomFilter : public PixFilter {
public:
    static std::shared_ptr<PixBloomFilter> create();

protected:
    PixBloomFilter();
};

} // namespace zm
