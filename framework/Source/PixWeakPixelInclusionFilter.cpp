#include "framework/Source/PixWeakPixelInclusionFilter.h"

namespace zm {

namespace {

const std::string kWeakPixelInclusionFragmentShader = pix3x3NeighbourhoodShader("", R"(
    float centerIntensity = texture2D(inputImageTexture, textureCoordinate).r;

    float pixelIntensitySum = bottomLeftIntensity + topRightIntensity + topLeftIntensity + bottomRightIntensity + leftIntensity + rightIntensity + bottomIntensity + topIntensity + centerIntensity;
    float sumTest = step(1.5, pixelIntensitySum);
    float pixelTest = step(0.01, centerIntensity);

    gl_FragColor = vec4(vec3(sumTest * pixelTest), 1.0);
)");

} // namespace

std::shared_ptr<PixWeakPixelInclusionFilter> PixWeakPixelInclusionFilter::create() {
    return std::shared_ptr<PixWeakPixelInclusionFilter>(new PixWeakPixelInclusionFilter);
}

PixWeakPixelInclusionFilter::PixWeakPixelInclusionFilter()
    : Pix3x3TextureSamplingFilter(Pix3x3SamplingVertexShader, kWeakPixelInclusionFragmentShader) {}

} // namespace zm
