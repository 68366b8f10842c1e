#include "framework/Source/PixLuminosity.h"

#include "framework/Source/PixContext.h"

#include <limits>

namespace zm {

namespace {

const char* const kLuminanceAveragingFragmentShader = R"(
precision highp float;

uniform sampler2D inputImageTexture;

varying vec2 upperLeftInputTextureCoordinate;
varying vec2 upperRightInputTextureCoordinate;
varying vec2 lowerLeftInputTextureCoordinate;
varying vec2 lowerRightInputTextureCoordinate;

const vec3 W = vec3(0.2125, 0.7154, 0.0721);

void main()
{
    float upperLeftLuminance = dot(texture2D(inputImageTexture, upperLeftInputTextureCoordinate).rgb, W);
    float upperRightLuminance = dot(texture2D(inputImageTexture, upperRightInputTextureCoordinate).rgb, W);
    float lowerLeftLuminance = dot(texture2D(inputImageTexture, lowerLeftInputTextureCoordinate).rgb, W);
    float lowerRightLuminance = dot(texture2D(inputImageTexture, lowerRightInputTextureCoordinate).rgb, W);

    float luminosity = 0.25 * (upperLeftLuminance + upperRightLuminance + lowerLeftLuminance + lowerRightLuminance);
    gl_FragColor = vec4(vec3(luminosity), 1.0);
}
)";

const char* const kRedAveragingFragmentShader = R"(
precision highp float;

uniform sampler2D inputImageTexture;

varying vec2 upperLeftInputTextureCoordinate;
varying vec2 upperRightInputTextureCoordinate;
varying vec2 lowerLeftInputTextureCoordinate;
varying vec2 lowerRightInputTextureCoordinate;

void main()
{
    float upperLeft = texture2D(inputImageTexture, upperLeftInputTextureCoordinate).r;
    float upperRight = texture2D(inputImageTexture, upperRightInputTextureCoordinate).r;
    float lowerLeft = texture2D(inputImageTexture, lowerLeftInputTextureCoordinate).r;
    float lowerRight = texture2D(inputImageTexture, lowerRightInputTextureCoordinate).r;

    float luminosity = 0.25 * (upperLeft + upperRight + lowerLeft + lowerRight);
    gl_FragColor = vec4(vec3(luminosity), 1.0);
}
)";

} // namespace

std::shared_ptr<PixLuminosity> PixLuminosity::create() {
    return std::shared_ptr<PixLuminosity>(new PixLuminosity);
}

PixLuminosity::PixLuminosity()
    : PixAverageColor(kLuminanceAveragingFragmentShader, kRedAveragingFragmentShader) {}

void PixLuminosity::setLuminosityProcessingFinishedBlock(LuminosityProcessingFinishedBlock block) {
    runSynchronouslyOnContextQueue([&] { m_luminosityProcessingFinishedBlock = std::move(block); });
}

void PixLuminosity::reportAverage(const std::array<std::uint64_t, 4>& sums, std::size_t pixelCount,
                                  PixFrameTime frameTime) {
    if (!m_luminosityProcessingFinishedBlock)
        return;
    m_luminosityProcessingFinishedBlock(pixelCount == 0 ? std::numeric_limits<float>::quiet_NaN()
                                                        : static_cast<float>(static_cast<double>(sums[0]) / pixelCount / 255.0),
                                        frameTime);
}

} // namespace zm
