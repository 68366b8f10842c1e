#include "framework/Source/PixThresholdSketchFilter.h"

namespace zm {

namespace {

const char* const kThresholdSketchFragmentShader = R"(
precision highp float;

varying vec2 textureCoordinate;
varying vec2 leftTextureCoordinate;
varying vec2 rightTextureCoordinate;

varying vec2 topTextureCoordinate;
varying vec2 bottomTextureCoordinate;

uniform sampler2D inputImageTexture;
uniform float threshold;
uniform float edgeStrength;

void main()
{
    float leftIntensity = texture2D(inputImageTexture, leftTextureCoordinate).r;
    float rightIntensity = texture2D(inputImageTexture, rightTextureCoordinate).r;
    float bottomIntensity = texture2D(inputImageTexture, bottomTextureCoordinate).r;
    float topIntensity = texture2D(inputImageTexture, topTextureCoordinate).r;
    float h = bottomIntensity - topIntensity;
    float v = rightIntensity - leftIntensity;

    float mag = length(vec2(h, v)) * edgeStrength;
    mag = 1.0 - step(threshold, mag);

    gl_FragColor = vec4(vec3(mag), 1.0);
}
)";

} // namespace

std::shared_ptr<PixThresholdSketchFilter> PixThresholdSketchFilter::create() {
    return std::shared_ptr<PixThresholdSketchFilter>(new PixThresholdSketchFilter);
}

PixThresholdSketchFilter::PixThresholdSketchFilter()
    : PixThresholdEdgeDetectionFilter(kThresholdSketchFragmentShader) {}

} // namespace zm
