#include "framework/Source/PixSharpenFilter.h"

namespace zm {

namespace {

const char* const kSharpenVertexShader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;

uniform float imageWidthFactor;
uniform float imageHeightFactor;
uniform float sharpness;

varying vec2 textureCoordinate;
varying vec2 leftTextureCoordinate;
varying vec2 rightTextureCoordinate;
varying vec2 topTextureCoordinate;
varying vec2 bottomTextureCoordinate;

varying float centerMultiplier;
varying float edgeMultiplier;

void main()
{
    gl_Position = position;

    vec2 widthStep = vec2(imageWidthFactor, 0.0);
    vec2 heightStep = vec2(0.0, imageHeightFactor);

    textureCoordinate = inputTextureCoordinate.xy;
    leftTextureCoordinate = inputTextureCoordinate.xy - widthStep;
    rightTextureCoordinate = inputTextureCoordinate.xy + widthStep;
    topTextureCoordinate = inputTextureCoordinate.xy + heightStep;
    bottomTextureCoordinate = inputTextureCoordinate.xy - heightStep;

    centerMultiplier = 1.0 + 4.0 * sharpness;
    edgeMultiplier = sharpness;
}
)";

const char* const kSharpenFragmentShader = R"(
precision highp float;

varying highp vec2 textureCoordinate;
varying highp vec2 leftTextureCoordinate;
varying highp vec2 rightTextureCoordinate;
varying highp vec2 topTextureCoordinate;
varying highp vec2 bottomTextureCoordinate;

varying highp float centerMultiplier;
varying highp float edgeMultiplier;

uniform sampler2D inputImageTexture;

void main()
{
    mediump vec3 textureColor = texture2D(inputImageTexture, textureCoordinate).rgb;
    mediump vec3 leftTextureColor = texture2D(inputImageTexture, leftTextureCoordinate).rgb;
    mediump vec3 rightTextureColor = texture2D(inputImageTexture, rightTextureCoordinate).rgb;
    mediump vec3 topTextureColor = texture2D(inputImageTexture, topTextureCoordinate).rgb;
    mediump vec3 bottomTextureColor = texture2D(inputImageTexture, bottomTextureCoordinate).rgb;

    gl_FragColor = vec4((textureColor * centerMultiplier -
                         (leftTextureColor * edgeMultiplier + rightTextureColor * edgeMultiplier +
                          topTextureColor * edgeMultiplier + bottomTextureColor * edgeMultiplier)),
                        texture2D(inputImageTexture, bottomTextureCoordinate).w);
}
)";

} // namespace

std::shared_ptr<PixSharpenFilter> PixSharpenFilter::create() {
    return std::shared_ptr<PixSharpenFilter>(new PixSharpenFilter);
}

PixSharpenFilter::PixSharpenFilter()
    : PixFilter(kSharpenVertexShader, kSharpenFragmentShader) {
    m_sharpnessUniform = uniformLocation("sharpness");
    m_imageWidthFactorUniform = uniformLocation("imageWidthFactor");
    m_imageHeightFactorUniform = uniformLocation("imageHeightFactor");
    setSharpness(0.0f);
}

void PixSharpenFilter::setSharpness(float newValue) {
    m_sharpness = newValue;
    setFloat(newValue, m_sharpnessUniform, m_filterProgram);
}

void PixSharpenFilter::setupFilterForSize(core::Size filterFrameSize) {
    if (filterFrameSize.width <= 0 || filterFrameSize.height <= 0)
        return;
    // Kept as stored writes, so that sharpen filters of other sizes sharing the program keep theirs.
    const bool quarterTurned = PixRotationSwapsWidthAndHeight(m_inputRotation);
    setFloat(1.0f / (quarterTurned ? filterFrameSize.height : filterFrameSize.width), m_imageWidthFactorUniform,
             m_filterProgram);
    setFloat(1.0f / (quarterTurned ? filterFrameSize.width : filterFrameSize.height), m_imageHeightFactorUniform,
             m_filterProgram);
}

} // namespace zm
