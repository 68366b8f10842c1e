#include "framework/Source/PixCannyEdgeDetectionFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

namespace {

// Where the device can draw into half floats, the texture that carries the gradient: magnitudes up to
// the Sobel's largest (about 5.7) and read at texel centres only.
bool canCarryGradientUnclamped() {
    return PixContext::deviceSupportsOpenGLESExtension("GL_OES_texture_half_float") &&
           PixContext::deviceSupportsOpenGLESExtension("GL_EXT_color_buffer_half_float");
}

constexpr GPUTextureOptions kUnclampedGradientTexture{GL_NEAREST, GL_NEAREST,       GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE,
                                                      GL_RGBA,    GL_RGBA,          GL_HALF_FLOAT_OES};

} // namespace

std::shared_ptr<PixCannyEdgeDetectionFilter> PixCannyEdgeDetectionFilter::create() {
    return std::shared_ptr<PixCannyEdgeDetectionFilter>(new PixCannyEdgeDetectionFilter);
}

PixCannyEdgeDetectionFilter::PixCannyEdgeDetectionFilter()
    : m_luminanceFilter(PixGrayscaleFilter::create())
    , m_blurFilter(PixSingleComponentFastBlurFilter::create())
    , m_edgeDetectionFilter(PixDirectionalSobelEdgeDetectionFilter::create())
    , m_nonMaximumSuppressionFilter(PixDirectionalNonMaximumSuppressionFilter::create())
    , m_weakPixelInclusionFilter(PixWeakPixelInclusionFilter::create()) {
    const std::shared_ptr<PixFilterNode> stages[] = {m_luminanceFilter, m_blurFilter, m_edgeDetectionFilter,
                                                     m_nonMaximumSuppressionFilter, m_weakPixelInclusionFilter};
    for (std::size_t index = 0; index < std::size(stages); ++index) {
        addFilter(stages[index]);
        if (index > 0)
            stages[index - 1]->addTarget(stages[index]);
    }
    // In bytes the magnitude stops at 1, which every pixel across a sharp edge reaches, and the thinning
    // would keep them all: a thick band instead of a line.
    if (canCarryGradientUnclamped())
        m_edgeDetectionFilter->setOutputTextureOptions(kUnclampedGradientTexture);
    setInitialFilters({m_luminanceFilter});
    setTerminalFilter(m_weakPixelInclusionFilter);
    setBlurSize(1.0f);
    setUpperThreshold(0.4f);
    setLowerThreshold(0.1f);
}

} // namespace zm
