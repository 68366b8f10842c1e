#include "framework/Source/PixXYDerivativeFilter.h"

#include "framework/Source/Pix3x3TextureSamplingFilter.h"

namespace zm {

namespace {

const std::string kXYDerivativeFragmentShader = pix3x3NeighbourhoodShader(R"(
uniform float edgeStrength;
)", R"(
    float verticalDerivative = -topLeftIntensity - topIntensity - topRightIntensity + bottomLeftIntensity + bottomIntensity + bottomRightIntensity;
    float horizontalDerivative = -bottomLeftIntensity - leftIntensity - topLeftIntensity + bottomRightIntensity + rightIntensity + topRightIntensity;
    verticalDerivative = verticalDerivative * edgeStrength;
    horizontalDerivative = horizontalDerivative * edgeStrength;

    gl_FragColor = vec4(horizontalDerivative * horizontalDerivative, verticalDerivative * verticalDerivative, ((verticalDerivative * horizontalDerivative) + 1.0) / 2.0, 1.0);
)");

} // namespace

std::shared_ptr<PixXYDerivativeFilter> PixXYDerivativeFilter::create() {
    return std::shared_ptr<PixXYDerivativeFilter>(new PixXYDerivativeFilter);
}

PixXYDerivativeFilter::PixXYDerivativeFilter()
    : PixSobelEdgeDetectionFilter(kXYDerivativeFragmentShader) {}

} // namespace zm
