#include "framework/Source/PixColorPackingFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

const char* const PixCornerSamplingVertexShader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;

uniform float texelWidth;
uniform float texelHeight;

varying vec2 upperLeftInputTextureCoordinate;
varying vec2 upperRightInputTextureCoordinate;
varying vec2 lowerLeftInputTextureCoordinate;
varying vec2 lowerRightInputTextureCoordinate;

void main()
{
    gl_Position = position;

    upperLeftInputTextureCoordinate = inputTextureCoordinate.xy + vec2(-texelWidth, -texelHeight);
    upperRightInputTextureCoordinate = inputTextureCoordinate.xy + vec2(texelWidth, -texelHeight);
    lowerLeftInputTextureCoordinate = inputTextureCoordinate.xy + vec2(-texelWidth, texelHeight);
    lowerRightInputTextureCoordinate = inputTextureCoordinate.xy + vec2(texelWidth, texelHeight);
}
)";

namespace {

const char* const kColorPackingFragmentShader = R"(
precision lowp float;

uniform sampler2D inputImageTexture;

varying mediump vec2 upperLeftInputTextureCoordinate;
varying mediump vec2 upperRightInputTextureCoordinate;
varying mediump vec2 lowerLeftInputTextureCoordinate;
varying mediump vec2 lowerRightInputTextureCoordinate;

void main()
{
    float upperLeftIntensity = texture2D(inputImageTexture, upperLeftInputTextureCoordinate).r;
    float upperRightIntensity = texture2D(inputImageTexture, upperRightInputTextureCoordinate).r;
    float lowerLeftIntensity = texture2D(inputImageTexture, lowerLeftInputTextureCoordinate).r;
    float lowerRightIntensity = texture2D(inputImageTexture, lowerRightInputTextureCoordinate).r;

    gl_FragColor = vec4(upperLeftIntensity, upperRightIntensity, lowerLeftIntensity, lowerRightIntensity);
}
)";

} // namespace

std::shared_ptr<PixColorPackingFilter> PixColorPackingFilter::create() {
    return std::shared_ptr<PixColorPackingFilter>(new PixColorPackingFilter);
}

PixColorPackingFilter::PixColorPackingFilter()
    : PixFilter(PixCornerSamplingVertexShader, kColorPackingFragmentShader) {
    m_texelWidthUniform = uniformLocation("texelWidth");
    m_texelHeightUniform = uniformLocation("texelHeight");
}

core::Size PixColorPackingFilter::outputFrameSize() const {
    return {m_inputTextureSize.width / 2, m_inputTextureSize.height / 2};
}

core::Size PixColorPackingFilter::sizeOfFBO() const {
    const core::Size outputSize = maximumOutputSize();
    if (outputSize.width > 0 && outputSize.height > 0 && outputSize.width <= m_inputTextureSize.width)
        return outputSize;
    return outputFrameSize();
}

void PixColorPackingFilter::setupFilterForSize(core::Size) {
    // Half an input pixel each way, whatever the framebuffer's size.
    runSynchronouslyOnContextQueue([&] {
        setFloat(0.5f / m_inputTextureSize.width, m_texelWidthUniform, m_filterProgram);
        setFloat(0.5f / m_inputTextureSize.height, m_texelHeightUniform, m_filterProgram);
    });
}

} // namespace zm
