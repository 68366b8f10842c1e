#include "framework/Source/PixSingleComponentFastBlurFilter.h"

namespace zm {

namespace {

const char* const kSingleComponentFastBlurFragmentShader = R"(
precision highp float;

uniform sampler2D inputImageTexture;

varying highp vec2 centerTextureCoordinate;
varying highp vec2 oneStepLeftTextureCoordinate;
varying highp vec2 twoStepsLeftTextureCoordinate;
varying highp vec2 oneStepRightTextureCoordinate;
varying highp vec2 twoStepsRightTextureCoordinate;

void main()
{
    lowp float fragmentColor = texture2D(inputImageTexture, centerTextureCoordinate).r * 0.2270270270;
    fragmentColor += texture2D(inputImageTexture, oneStepLeftTextureCoordinate).r * 0.3162162162;
    fragmentColor += texture2D(inputImageTexture, oneStepRightTextureCoordinate).r * 0.3162162162;
    fragmentColor += texture2D(inputImageTexture, twoStepsLeftTextureCoordinate).r * 0.0702702703;
    fragmentColor += texture2D(inputImageTexture, twoStepsRightTextureCoordinate).r * 0.0702702703;
    gl_FragColor = vec4(vec3(fragmentColor), 1.0);
}
)";

} // namespace

std::shared_ptr<PixSingleComponentFastBlurFilter> PixSingleComponentFastBlurFilter::create() {
    return std::shared_ptr<PixSingleComponentFastBlurFilter>(new PixSingleComponentFastBlurFilter);
}

PixSingleComponentFastBlurFilter::PixSingleComponentFastBlurFilter()
    : PixFastBlurFilter(kSingleComponentFastBlurFragmentShader) {}

} // namespace zm
