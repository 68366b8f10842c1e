#include "framework/Source/PixBoxBlurFilter.h"

namespace zm {

namespace {

const char* const kBoxBlurVertexShader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;

uniform float texelWidthOffset;
uniform float texelHeightOffset;

varying vec2 centerTextureCoordinate;
varying vec2 oneStepLeftTextureCoordinate;
varying vec2 twoStepsLeftTextureCoordinate;
varying vec2 oneStepRightTextureCoordinate;
varying vec2 twoStepsRightTextureCoordinate;

void main()
{
    gl_Position = position;

    vec2 firstOffset = vec2(1.5 * texelWidthOffset, 1.5 * texelHeightOffset);
    vec2 secondOffset = vec2(3.5 * texelWidthOffset, 3.5 * texelHeightOffset);

    centerTextureCoordinate = inputTextureCoordinate.xy;
    oneStepLeftTextureCoordinate = inputTextureCoordinate.xy - firstOffset;
    twoStepsLeftTextureCoordinate = inputTextureCoordinate.xy - secondOffset;
    oneStepRightTextureCoordinate = inputTextureCoordinate.xy + firstOffset;
    twoStepsRightTextureCoordinate = inputTextureCoordinate.xy + secondOffset;
}
)";

const char* const kBoxBlurFragmentShader = R"(
precision highp float;

uniform sampler2D inputImageTexture;

varying highp vec2 centerTextureCoordinate;
varying highp vec2 oneStepLeftTextureCoordinate;
varying highp vec2 twoStepsLeftTextureCoordinate;
varying highp vec2 oneStepRightTextureCoordinate;
varying highp vec2 twoStepsRightTextureCoordinate;

void main()
{
    lowp vec4 fragmentColor = texture2D(inputImageTexture, centerTextureCoordinate) * 0.2;
    fragmentColor += texture2D(inputImageTexture, oneStepLeftTextureCoordinate) * 0.2;
    fragmentColor += texture2D(inputImageTexture, oneStepRightTextureCoordinate) * 0.2;
    fragmentColor += texture2D(inputImageTexture, twoStepsLeftTextureCoordinate) * 0.2;
    fragmentColor += texture2D(inputImageTexture, twoStepsRightTextureCoordinate) * 0.2;
    gl_FragColor = fragmentColor;
}
)";

} // namespace

std::shared_ptr<PixBoxBlurFilter> PixBoxBlurFilter::create() {
    return std::shared_ptr<PixBoxBlurFilter>(new PixBoxBlurFilter);
}

PixBoxBlurFilter::PixBoxBlurFilter()
    : PixSeparableBlurFilter(kBoxBlurVertexShader, kBoxBlurFragmentShader) {}

} // namespace zm
