#include "framework/Source/PixCGAColorspaceFilter.h"

namespace zm {

namespace {

// Distances are compared with a margin far below one level of 8 bits: a colour half way between two
// palette colours is equally near both, however the GPU rounds the two sums.
const char* const kCGAColorspaceFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;

const highp float kTie = 1e-4;

highp float distanceSquared(highp vec4 a, highp vec4 b)
{
    highp vec4 d = a - b;
    return d.r * d.r + d.g * d.g + d.b * d.b + d.a * d.a;
}

void main()
{
    highp vec2 sampleDivisor = vec2(1.0 / 200.0, 1.0 / 320.0);

    highp vec2 samplePos = textureCoordinate - mod(textureCoordinate, sampleDivisor);
    highp vec4 color = texture2D(inputImageTexture, samplePos);

    highp vec4 colorCyan = vec4(85.0 / 255.0, 1.0, 1.0, 1.0);
    highp vec4 colorMagenta = vec4(1.0, 85.0 / 255.0, 1.0, 1.0);
    highp vec4 colorWhite = vec4(1.0, 1.0, 1.0, 1.0);
    highp vec4 colorBlack = vec4(0.0, 0.0, 0.0, 1.0);

    highp vec4 endColor = colorBlack;
    highp float nearest = distanceSquared(color, colorBlack);
    highp float candidate = distanceSquared(color, colorWhite);
    if (candidate < nearest - kTie) {
        endColor = colorWhite;
        nearest = candidate;
    }
    candidate = distanceSquared(color, colorCyan);
    if (candidate < nearest - kTie) {
        endColor = colorCyan;
        nearest = candidate;
    }
    candidate = distanceSquared(color, colorMagenta);
    if (candidate < nearest - kTie) {
        endColor = colorMagenta;
    }

    gl_FragColor = endColor;
}
)";

} // namespace

std::shared_ptr<PixCGAColorspaceFilter> PixCGAColorspaceFilter::create() {
    return std::shared_ptr<PixCGAColorspaceFilter>(new PixCGAColorspaceFilter);
}

PixCGAColorspaceFilter::PixCGAColorspaceFilter()
    : PixFilter(PixDefaultVertexShader, kCGAColorspaceFragmentShader) {}

} // namespace zm
