#pragma once

#include "framework/Source/Pix3x3ConvolutionFilter.h"

namespace zm {

// Where the picture changes: the Laplacian kernel (0.5, 1, 0.5), (1, -6, 1), (0.5, 1, 0.5), lifted by
// 0.5 so that a flat picture comes out mid-grey.
class PixLaplacianFilter : public Pix3x3ConvolutionFilter {
public:
    static std::shared_ptr<PixLaplacianFilter> create();

protected:
    PixLaplacianFilter();
};

} // namespace zm
