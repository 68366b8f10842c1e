#include "framework/Source/PixThresholdSketchFilter.h"

#include "framework/Source/Pix3x3TextureSamplingFilter.h"

namespace zm {

namespace {

const std::string kThresholdSketchFragmentShader = pix3x3NeighbourhoodShader(R"(
uniform float threshold;
uniform float edgeStrength;
)", R"(
    float h = bottomIntensity - topIntensity;
    float v = rightIntensity - leftIntensity;

    float mag = length(vec2(h, v)) * edgeStrength;
    mag = 1.0 - step(threshold, mag);

    gl_FragColor = vec4(vec3(mag), 1.0);
)");

} // namespace

std::shared_ptr<PixThresholdSketchFilter> PixThresholdSketchFilter::create() {
    return std::shared_ptr<PixThresholdSketchFilter>(new PixThresholdSketchFilter);
}

PixThresholdSketchFilter::PixThresholdSketchFilter()
    : PixThresholdEdgeDetectionFilter(kThresholdSketchFragmentShader) {}

} // namespace zm
