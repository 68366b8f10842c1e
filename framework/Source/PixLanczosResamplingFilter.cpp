#include "framework/Source/PixLanczosResamplingFilter.h"

#include "framework/Source/PixContext.h"
#include "framework/Source/PixGaussianBlurFilter.h"

namespace zm {

namespace {

const char* const kLanczosFragmentShader = R"(
uniform sampler2D inputImageTexture;

varying highp vec2 blurCoordinates[9];

void main()
{
    lowp vec4 fragmentColor = texture2D(inputImageTexture, blurCoordinates[4]) * 0.38026;

    fragmentColor += texture2D(inputImageTexture, blurCoordinates[3]) * 0.27667;
    fragmentColor += texture2D(inputImageTexture, blurCoordinates[5]) * 0.27667;

    fragmentColor += texture2D(inputImageTexture, blurCoordinates[2]) * 0.08074;
    fragmentColor += texture2D(inputImageTexture, blurCoordinates[6]) * 0.08074;

    fragmentColor += texture2D(inputImageTexture, blurCoordinates[1]) * -0.02612;
    fragmentColor += texture2D(inputImageTexture, blurCoordinates[7]) * -0.02612;

    fragmentColor += texture2D(inputImageTexture, blurCoordinates[0]) * -0.02143;
    fragmentColor += texture2D(inputImageTexture, blurCoordinates[8]) * -0.02143;

    gl_FragColor = fragmentColor;
}
)";

} // namespace

std::shared_ptr<PixLanczosResamplingFilter> PixLanczosResamplingFilter::create() {
    return std::shared_ptr<PixLanczosResamplingFilter>(new PixLanczosResamplingFilter);
}

PixLanczosResamplingFilter::PixLanczosResamplingFilter()
    : PixTwoPassTextureSamplingFilter(PixGaussianBlurVertexShader, kLanczosFragmentShader, PixGaussianBlurVertexShader,
                                      kLanczosFragmentShader) {}

core::Size PixLanczosResamplingFilter::originalImageSize() const {
    core::Size size;
    runSynchronouslyOnContextQueue([&] { size = m_originalImageSize; });
    return size;
}

void PixLanczosResamplingFilter::setOriginalImageSize(core::Size newValue) {
    runSynchronouslyOnContextQueue([&] { m_originalImageSize = newValue; });
}

void PixLanczosResamplingFilter::setInputSize(core::Size newSize, int textureIndex) {
    m_originalImageSize = newSize;
    PixTwoPassTextureSamplingFilter::setInputSize(newSize, textureIndex);
}

void PixLanczosResamplingFilter::setupFilterForSize(core::Size) {
    if (m_originalImageSize.width <= 0 || m_originalImageSize.height <= 0)
        return;
    // One pixel of the input each way, whatever the output size.
    if (PixRotationSwapsWidthAndHeight(m_inputRotation)) {
        m_verticalPassTexelWidthOffset = 1.0f / m_originalImageSize.height;
        m_verticalPassTexelHeightOffset = 0;
    } else {
        m_verticalPassTexelWidthOffset = 0;
        m_verticalPassTexelHeightOffset = 1.0f / m_originalImageSize.height;
    }
    m_horizontalPassTexelWidthOffset = 1.0f / m_originalImageSize.width;
    m_horizontalPassTexelHeightOffset = 0;
}

core::Size PixLanczosResamplingFilter::firstPassSize() const {
    const core::Size output = sizeOfFBO();
    if (PixRotationSwapsWidthAndHeight(m_inputRotation))
        return {output.width, m_originalImageSize.height};
    return {m_originalImageSize.width, output.height};
}

void PixLanczosResamplingFilter::setFilterFBO() {
    const core::Size size = firstPassSize();
    if (!m_filterFramebuffer) {
        createFilterFBOofSize(size);
        setupFilterForSize(size);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_filterFramebuffer);
    glViewport(0, 0, PixPixelsWide(size), PixPixelsHigh(size));
}

void PixLanczosResamplingFilter::setSecondFilterFBO() {
    if (!hasSecondFilterFramebuffer()) {
        createFilterFBOofSize(firstPassSize());
        setupFilterForSize(sizeOfFBO());
    }
    PixTwoPassTextureSamplingFilter::setSecondFilterFBO();
}

} // namespace zm
