#include "framework/Source/PixPixellateFilter.h"

#include "framework/Source/PixContext.h"

#include <algorithm>

namespace zm {

namespace {

const char* const kPixellateFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform highp float fractionalWidthOfPixel;
uniform highp float aspectRatio;

void main()
{
    highp vec2 sampleDivisor = vec2(fractionalWidthOfPixel, fractionalWidthOfPixel / aspectRatio);
    highp vec2 samplePos = textureCoordinate - mod(textureCoordinate, sampleDivisor) + 0.5 * sampleDivisor;
    gl_FragColor = texture2D(inputImageTexture, samplePos);
}
)";

} // namespace

std::shared_ptr<PixPixellateFilter> PixPixellateFilter::create() {
    return std::shared_ptr<PixPixellateFilter>(
        new PixPixellateFilter(kPixellateFragmentShader, {std::nullopt, "aspectRatio"}, 0.05f));
}

PixPixellateFilter::PixPixellateFilter(const std::string& fragmentShaderString, const Uniforms& uniforms,
                                       float fractionalWidthOfAPixel)
    : PixDistortionFilter(fragmentShaderString, uniforms) {
    m_fractionalWidthOfAPixelUniform = uniformLocation("fractionalWidthOfPixel");
    setFractionalWidthOfAPixel(fractionalWidthOfAPixel);
}

void PixPixellateFilter::setFractionalWidthOfAPixel(float newValue) {
    runSynchronouslyOnContextQueue([&] {
        const float width = m_inputTextureSize.width;
        const float onePixel = 1.0f / (width > 0 ? width : 2048.0f);
        storeFloat(m_fractionalWidthOfAPixel, std::max(newValue, onePixel), m_fractionalWidthOfAPixelUniform);
    });
}

} // namespace zm
