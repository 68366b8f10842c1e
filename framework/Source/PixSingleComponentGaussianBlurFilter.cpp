#include "framework/Source/PixSingleComponentGaussianBlurFilter.h"

namespace zm {

namespace {

const char* const kSingleComponentGaussianBlurFragmentShader = R"(
uniform sampler2D inputImageTexture;

varying highp vec2 blurCoordinates[9];

void main()
{
    lowp float sum = 0.0;
    sum += texture2D(inputImageTexture, blurCoordinates[0]).r * 0.05;
    sum += texture2D(inputImageTexture, blurCoordinates[1]).r * 0.09;
    sum += texture2D(inputImageTexture, blurCoordinates[2]).r * 0.12;
    sum += texture2D(inputImageTexture, blurCoordinates[3]).r * 0.15;
    sum += texture2D(inputImageTexture, blurCoordinates[4]).r * 0.18;
    sum += texture2D(inputImageTexture, blurCoordinates[5]).r * 0.15;
    sum += texture2D(inputImageTexture, blurCoordinates[6]).r * 0.12;
    sum += texture2D(inputImageTexture, blurCoordinates[7]).r * 0.09;
    sum += texture2D(inputImageTexture, blurCoordinates[8]).r * 0.05;
    gl_FragColor = vec4(vec3(sum), 1.0);
}
)";

} // namespace

std::shared_ptr<PixSingleComponentGaussianBlurFilter> PixSingleComponentGaussianBlurFilter::create() {
    return std::shared_ptr<PixSingleComponentGaussianBlurFilter>(new PixSingleComponentGaussianBlurFilter);
}

PixSingleComponentGaussianBlurFilter::PixSingleComponentGaussianBlurFilter()
    : PixGaussianBlurFilter(kSingleComponentGaussianBlurFragmentShader) {}

} // namespace zm
