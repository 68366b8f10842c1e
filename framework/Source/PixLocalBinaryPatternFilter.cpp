#include "framework/Source/PixLocalBinaryPatternFilter.h"

namespace zm {

namespace {

const std::string kLocalBinaryPatternFragmentShader = pix3x3NeighbourhoodShader("", R"(
    float centerIntensity = texture2D(inputImageTexture, textureCoordinate).r;

    float byteTally = 1.0 / 255.0 * step(centerIntensity, topRightIntensity);
    byteTally += 2.0 / 255.0 * step(centerIntensity, topIntensity);
    byteTally += 4.0 / 255.0 * step(centerIntensity, topLeftIntensity);
    byteTally += 8.0 / 255.0 * step(centerIntensity, leftIntensity);
    byteTally += 16.0 / 255.0 * step(centerIntensity, bottomLeftIntensity);
    byteTally += 32.0 / 255.0 * step(centerIntensity, bottomIntensity);
    byteTally += 64.0 / 255.0 * step(centerIntensity, bottomRightIntensity);
    byteTally += 128.0 / 255.0 * step(centerIntensity, rightIntensity);

    gl_FragColor = vec4(vec3(byteTally), 1.0);
)");

} // namespace

std::shared_ptr<PixLocalBinaryPatternFilter> PixLocalBinaryPatternFilter::create() {
    return std::shared_ptr<PixLocalBinaryPatternFilter>(new PixLocalBinaryPatternFilter);
}

PixLocalBinaryPatternFilter::PixLocalBinaryPatternFilter()
    : Pix3x3TextureSamplingFilter(Pix3x3SamplingVertexShader, kLocalBinaryPatternFragmentShader) {}

} // namespace zm
