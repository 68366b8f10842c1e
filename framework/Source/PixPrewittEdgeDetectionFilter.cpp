#include "framework/Source/PixPrewittEdgeDetectionFilter.h"

#include "framework/Source/Pix3x3TextureSamplingFilter.h"

namespace zm {

namespace {

const std::string kPrewittEdgeDetectionFragmentShader = pix3x3NeighbourhoodShader(R"(
uniform float edgeStrength;
)", R"(
    float h = -topLeftIntensity - topIntensity - topRightIntensity + bottomLeftIntensity + bottomIntensity + bottomRightIntensity;
    float v = -bottomLeftIntensity - leftIntensity - topLeftIntensity + bottomRightIntensity + rightIntensity + topRightIntensity;

    float mag = length(vec2(h, v)) * edgeStrength;

    gl_FragColor = vec4(vec3(mag), 1.0);
)");

} // namespace

std::shared_ptr<PixPrewittEdgeDetectionFilter> PixPrewittEdgeDetectionFilter::create() {
    return std::shared_ptr<PixPrewittEdgeDetectionFilter>(new PixPrewittEdgeDetectionFilter);
}

PixPrewittEdgeDetectionFilter::PixPrewittEdgeDetectionFilter()
    : PixSobelEdgeDetectionFilter(kPrewittEdgeDetectionFragmentShader) {}

} // namespace zm
