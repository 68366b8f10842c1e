#include "framework/Source/PixDirectionalSobelEdgeDetectionFilter.h"

namespace zm {

namespace {

// 0.617316 is 1 - sin(22.5 degrees): a component of the unit direction rounds to 1 from 22.5 degrees
// off its axis inwards.
const std::string kDirectionalSobelEdgeDetectionFragmentShader = pix3x3NeighbourhoodShader("", R"(
    vec2 gradientDirection;
    gradientDirection.x = -bottomLeftIntensity - 2.0 * leftIntensity - topLeftIntensity + bottomRightIntensity + 2.0 * rightIntensity + topRightIntensity;
    gradientDirection.y = -topLeftIntensity - 2.0 * topIntensity - topRightIntensity + bottomLeftIntensity + 2.0 * bottomIntensity + bottomRightIntensity;

    float gradientMagnitude = length(gradientDirection);
    // A flat neighbourhood has no direction (normalising it would divide by 0).
    vec2 normalizedDirection = gradientMagnitude > 0.0 ? gradientDirection / gradientMagnitude : vec2(0.0);
    normalizedDirection = sign(normalizedDirection) * floor(abs(normalizedDirection) + 0.617316);
    normalizedDirection = (normalizedDirection + 1.0) * 0.5;

    gl_FragColor = vec4(gradientMagnitude, normalizedDirection.x, normalizedDirection.y, 1.0);
)");

} // namespace

std::shared_ptr<PixDirectionalSobelEdgeDetectionFilter> PixDirectionalSobelEdgeDetectionFilter::create() {
    return std::shared_ptr<PixDirectionalSobelEdgeDetectionFilter>(new PixDirectionalSobelEdgeDetectionFilter);
}

PixDirectionalSobelEdgeDetectionFilter::PixDirectionalSobelEdgeDetectionFilter()
    : Pix3x3TextureSamplingFilter(Pix3x3SamplingVertexShader, kDirectionalSobelEdgeDetectionFragmentShader) {}

} // namespace zm
