#include "framework/Source/PixLaplacianFilter.h"

namespace zm {

std::shared_ptr<PixLaplacianFilter> PixLaplacianFilter::create() {
    return std::shared_ptr<PixLaplacianFilter>(new PixLaplacianFilter);
}

PixLaplacianFilter::PixLaplacianFilter()
    : Pix3x3ConvolutionFilter(pix3x3ConvolutionShader(0.5f)) {
    setConvolutionKernel({{0.5f, 1.0f, 0.5f}, {1.0f, -6.0f, 1.0f}, {0.5f, 1.0f, 0.5f}});
}

} // namespace zm
