#include "framework/Source/Pix3x3TextureSamplingFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

const char* const Pix3x3SamplingVertexShader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;

uniform float texelWidth;
uniform float texelHeight;

varying vec2 textureCoordinate;
varying vec2 leftTextureCoordinate;
varying vec2 rightTextureCoordinate;

varying vec2 topTextureCoordinate;
varying vec2 topLeftTextureCoordinate;
varying vec2 topRightTextureCoordinate;

varying vec2 bottomTextureCoordinate;
varying vec2 bottomLeftTextureCoordinate;
varying vec2 bottomRightTextureCoordinate;

void main()
{
    gl_Position = position;

    vec2 widthStep = vec2(texelWidth, 0.0);
    vec2 heightStep = vec2(0.0, texelHeight);
    vec2 widthHeightStep = vec2(texelWidth, texelHeight);
    vec2 widthNegativeHeightStep = vec2(texelWidth, -texelHeight);

    textureCoordinate = inputTextureCoordinate.xy;
    leftTextureCoordinate = inputTextureCoordinate.xy - widthStep;
    rightTextureCoordinate = inputTextureCoordinate.xy + widthStep;

    topTextureCoordinate = inputTextureCoordinate.xy - heightStep;
    topLeftTextureCoordinate = inputTextureCoordinate.xy - widthHeightStep;
    topRightTextureCoordinate = inputTextureCoordinate.xy + widthNegativeHeightStep;

    bottomTextureCoordinate = inputTextureCoordinate.xy + heightStep;
    bottomLeftTextureCoordinate = inputTextureCoordinate.xy - widthNegativeHeightStep;
    bottomRightTextureCoordinate = inputTextureCoordinate.xy + widthHeightStep;
}
)";

const char* const Pix3x3SamplingFragmentInputs = R"(
varying vec2 textureCoordinate;
varying vec2 leftTextureCoordinate;
varying vec2 rightTextureCoordinate;

varying vec2 topTextureCoordinate;
varying vec2 topLeftTextureCoordinate;
varying vec2 topRightTextureCoordinate;

varying vec2 bottomTextureCoordinate;
varying vec2 bottomLeftTextureCoordinate;
varying vec2 bottomRightTextureCoordinate;

uniform sampler2D inputImageTexture;
)";

std::string pix3x3NeighbourhoodShader(std::string_view declarations, std::string_view body) {
    std::string shader = "precision highp float;\n";
    shader += Pix3x3SamplingFragmentInputs;
    shader += declarations;
    shader += R"(
void main()
{
    float bottomLeftIntensity = texture2D(inputImageTexture, bottomLeftTextureCoordinate).r;
    float topRightIntensity = texture2D(inputImageTexture, topRightTextureCoordinate).r;
    float topLeftIntensity = texture2D(inputImageTexture, topLeftTextureCoordinate).r;
    float bottomRightIntensity = texture2D(inputImageTexture, bottomRightTextureCoordinate).r;
    float leftIntensity = texture2D(inputImageTexture, leftTextureCoordinate).r;
    float rightIntensity = texture2D(inputImageTexture, rightTextureCoordinate).r;
    float bottomIntensity = texture2D(inputImageTexture, bottomTextureCoordinate).r;
    float topIntensity = texture2D(inputImageTexture, topTextureCoordinate).r;
)";
    shader += body;
    shader += "}\n";
    return shader;
}

std::shared_ptr<Pix3x3TextureSamplingFilter>
Pix3x3TextureSamplingFilter::create(const std::string& fragmentShaderString) {
    return std::shared_ptr<Pix3x3TextureSamplingFilter>(
        new Pix3x3TextureSamplingFilter(Pix3x3SamplingVertexShader, fragmentShaderString));
}

Pix3x3TextureSamplingFilter::Pix3x3TextureSamplingFilter(const std::string& vertexShaderString,
                                                         const std::string& fragmentShaderString)
    : PixFilter(vertexShaderString, fragmentShaderString) {
    runSynchronouslyOnContextQueue([&] {
        PixContext::useImageProcessingContext();
        m_texelSampling.locateUniforms(*m_filterProgram);
    });
}

void Pix3x3TextureSamplingFilter::setupFilterForSize(core::Size filterFrameSize) {
    m_texelSampling.setupForSize(filterFrameSize, m_inputRotation);
}

void Pix3x3TextureSamplingFilter::setUniformsForProgramAtIndex(unsigned programIndex) {
    PixFilter::setUniformsForProgramAtIndex(programIndex);
    m_texelSampling.writeUniforms();
}

} // namespace zm
