#include "framework/Source/PixSketchFilter.h"

#include "framework/Source/Pix3x3TextureSamplingFilter.h"

namespace zm {

namespace {

const std::string kSketchFragmentShader = pix3x3NeighbourhoodShader(R"(
uniform float edgeStrength;
)", R"(
    float h = -topLeftIntensity - 2.0 * topIntensity - topRightIntensity + bottomLeftIntensity + 2.0 * bottomIntensity + bottomRightIntensity;
    float v = -bottomLeftIntensity - 2.0 * leftIntensity - topLeftIntensity + bottomRightIntensity + 2.0 * rightIntensity + topRightIntensity;

    float mag = 1.0 - (length(vec2(h, v)) * edgeStrength);

    gl_FragColor = vec4(vec3(mag), 1.0);
)");

} // namespace

std::shared_ptr<PixSketchFilter> PixSketchFilter::create() {
    return std::shared_ptr<PixSketchFilter>(new PixSketchFilter);
}

PixSketchFilter::PixSketchFilter()
    : PixSobelEdgeDetectionFilter(kSketchFragmentShader) {}

} // namespace zm
