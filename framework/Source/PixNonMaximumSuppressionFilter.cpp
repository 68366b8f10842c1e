#include "framework/Source/PixNonMaximumSuppressionFilter.h"

namespace zm {

namespace {

const std::string kNonMaximumSuppressionFragmentShader = R"(
precision highp float;
)" + std::string(Pix3x3SamplingFragmentInputs) + R"(

void main()
{
    float bottomColor = texture2D(inputImageTexture, bottomTextureCoordinate).r;
    float bottomLeftColor = texture2D(inputImageTexture, bottomLeftTextureCoordinate).r;
    float bottomRightColor = texture2D(inputImageTexture, bottomRightTextureCoordinate).r;
    vec4 centerColor = texture2D(inputImageTexture, textureCoordinate);
    float leftColor = texture2D(inputImageTexture, leftTextureCoordinate).r;
    float rightColor = texture2D(inputImageTexture, rightTextureCoordinate).r;
    float topColor = texture2D(inputImageTexture, topTextureCoordinate).r;
    float topRightColor = texture2D(inputImageTexture, topRightTextureCoordinate).r;
    float topLeftColor = texture2D(inputImageTexture, topLeftTextureCoordinate).r;

    // Strictly above one half of the neighbourhood, at least as high as the other half.
    float multiplier = 1.0 - step(centerColor.r, topColor);
    multiplier = multiplier * (1.0 - step(centerColor.r, topLeftColor));
    multiplier = multiplier * (1.0 - step(centerColor.r, leftColor));
    multiplier = multiplier * (1.0 - step(centerColor.r, bottomLeftColor));

    float maxValue = max(centerColor.r, bottomColor);
    maxValue = max(maxValue, bottomRightColor);
    maxValue = max(maxValue, rightColor);
    maxValue = max(maxValue, topRightColor);

    gl_FragColor = vec4((centerColor.rgb * step(maxValue, centerColor.r) * multiplier), 1.0);
}
)";

} // namespace

std::shared_ptr<PixNonMaximumSuppressionFilter> PixNonMaximumSuppressionFilter::create() {
    return std::shared_ptr<PixNonMaximumSuppressionFilter>(new PixNonMaximumSuppressionFilter);
}

PixNonMaximumSuppressionFilter::PixNonMaximumSuppressionFilter()
    : Pix3x3TextureSamplingFilter(Pix3x3SamplingVertexShader, kNonMaximumSuppressionFragmentShader) {}

} // namespace zm
