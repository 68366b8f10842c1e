#include "framework/Source/PixTwoInputCrossTextureSamplingFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

const char* const PixTwoInputCrossSamplingVertexShader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;
attribute vec4 inputTextureCoordinate2;

uniform float texelWidth;
uniform float texelHeight;

varying vec2 textureCoordinate;
varying vec2 leftTextureCoordinate;
varying vec2 rightTextureCoordinate;
varying vec2 topTextureCoordinate;
varying vec2 bottomTextureCoordinate;

varying vec2 textureCoordinate2;
varying vec2 leftTextureCoordinate2;
varying vec2 rightTextureCoordinate2;
varying vec2 topTextureCoordinate2;
varying vec2 bottomTextureCoordinate2;

void main()
{
    gl_Position = position;

    vec2 widthStep = vec2(texelWidth, 0.0);
    vec2 heightStep = vec2(0.0, texelHeight);

    textureCoordinate = inputTextureCoordinate.xy;
    leftTextureCoordinate = inputTextureCoordinate.xy - widthStep;
    rightTextureCoordinate = inputTextureCoordinate.xy + widthStep;
    topTextureCoordinate = inputTextureCoordinate.xy - heightStep;
    bottomTextureCoordinate = inputTextureCoordinate.xy + heightStep;

    textureCoordinate2 = inputTextureCoordinate2.xy;
    leftTextureCoordinate2 = inputTextureCoordinate2.xy - widthStep;
    rightTextureCoordinate2 = inputTextureCoordinate2.xy + widthStep;
    topTextureCoordinate2 = inputTextureCoordinate2.xy - heightStep;
    bottomTextureCoordinate2 = inputTextureCoordinate2.xy + heightStep;
}
)";

std::shared_ptr<PixTwoInputCrossTextureSamplingFilter>
PixTwoInputCrossTextureSamplingFilter::create(const std::string& fragmentShaderString) {
    return std::shared_ptr<PixTwoInputCrossTextureSamplingFilter>(
        new PixTwoInputCrossTextureSamplingFilter(fragmentShaderString));
}

PixTwoInputCrossTextureSamplingFilter::PixTwoInputCrossTextureSamplingFilter(const std::string& fragmentShaderString)
    : PixTwoInputFilter(PixTwoInputCrossSamplingVertexShader, fragmentShaderString) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        m_texelSampling.locateUniforms(*m_filterProgram);
    });
}

void PixTwoInputCrossTextureSamplingFilter::setupFilterForSize(core::Size filterFrameSize) {
    m_texelSampling.setupForSize(filterFrameSize, m_inputRotation);
}

void PixTwoInputCrossTextureSamplingFilter::setUniformsForProgramAtIndex(unsigned programIndex) {
    PixTwoInputFilter::setUniformsForProgramAtIndex(programIndex);
    m_texelSampling.writeUniforms();
}

} // namespace zm
