#include "framework/Source/PixGaussianBlurFilter.h"


namespace zm {

const char* const PixGaussianBlurVertexShader = R"(
attribute vec4 position;
attribute vec4 inputTextureCoordinate;

uniform float texelWidthOffset;
uniform float texelHeightOffset;

varying vec2 textureCoordinate;
varying vec2 blurCoordinates[9];

void main()
{
    gl_Position = position;
    textureCoordinate = inputTextureCoordinate.xy;

    vec2 singleStepOffset = vec2(texelWidthOffset, texelHeightOffset);
    for (int i = 0; i < 9; i++)
        blurCoordinates[i] = inputTextureCoordinate.xy + float(i - 4) * singleStepOffset;
}
)";

const char* const PixGaussianBlurTaps = R"(
    lowp vec4 sum = vec4(0.0);
    sum += texture2D(inputImageTexture, blurCoordinates[0]) * 0.05;
    sum += texture2D(inputImageTexture, blurCoordinates[1]) * 0.09;
    sum += texture2D(inputImageTexture, blurCoordinates[2]) * 0.12;
    sum += texture2D(inputImageTexture, blurCoordinates[3]) * 0.15;
    sum += texture2D(inputImageTexture, blurCoordinates[4]) * 0.18;
    sum += texture2D(inputImageTexture, blurCoordinates[5]) * 0.15;
    sum += texture2D(inputImageTexture, blurCoordinates[6]) * 0.12;
    sum += texture2D(inputImageTexture, blurCoordinates[7]) * 0.09;
    sum += texture2D(inputImageTexture, blurCoordinates[8]) * 0.05;
)";

const std::string PixGaussianBlurFragmentShader = R"(
uniform sampler2D inputImageTexture;

varying highp vec2 blurCoordinates[9];

void main()
{
)" + std::string(PixGaussianBlurTaps) + R"(
    gl_FragColor = sum;
}
)";

std::shared_ptr<PixGaussianBlurFilter> PixGaussianBlurFilter::create() {
    return std::shared_ptr<PixGaussianBlurFilter>(new PixGaussianBlurFilter);
}

PixGaussianBlurFilter::PixGaussianBlurFilter(const std::string& fragmentShaderString)
    : PixSeparableBlurFilter(PixGaussianBlurVertexShader, fragmentShaderString) {}

} // namespace zm
