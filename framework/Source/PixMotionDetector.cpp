#include "framework/Source/PixMotionDetector.h"

#include "framework/Source/PixContext.h"

#include <limits>

namespace zm {

namespace {

// Slot 0 the frame, slot 1 its running average.
const char* const kMotionComparisonFragmentShader = R"(
varying highp vec2 textureCoordinate;
varying highp vec2 textureCoordinate2;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;

void main()
{
    lowp vec3 currentImageColor = texture2D(inputImageTexture, textureCoordinate).rgb;
    lowp vec3 lowPassImageColor = texture2D(inputImageTexture2, textureCoordinate2).rgb;

    mediump float colorDistance = distance(currentImageColor, lowPassImageColor);
    lowp float movementThreshold = step(0.2, colorDistance);

    gl_FragColor = movementThreshold * vec4(textureCoordinate2.x, textureCoordinate2.y, 1.0, 1.0);
}
)";

} // namespace

std::shared_ptr<PixMotionDetector> PixMotionDetector::create() {
    return std::shared_ptr<PixMotionDetector>(new PixMotionDetector);
}

PixMotionDetector::PixMotionDetector()
    : m_lowPassFilter(PixLowPassFilter::create())
    , m_frameComparisonFilter(PixTwoInputFilter::create(kMotionComparisonFragmentShader))
    , m_averageColor(PixAverageColor::create())
    , m_motionDetectionBlock(std::make_shared<MotionDetectionBlock>()) {
    addFilter(m_lowPassFilter);
    addFilter(m_frameComparisonFilter);
    addFilter(m_averageColor);
    m_lowPassFilter->addTarget(m_frameComparisonFilter, 1);
    m_frameComparisonFilter->addTarget(m_averageColor);
    // The averages of the comparison are the moving pixels' mean position times their share, and the share.
    m_averageColor->setColorAverageProcessingFinishedBlock(
        [block = m_motionDetectionBlock](float red, float green, float, float alpha, PixFrameTime frameTime) {
            if (!*block)
                return;
            const float nothing = std::numeric_limits<float>::quiet_NaN();
            (*block)(alpha == 0 ? core::Point{nothing, nothing} : core::Point{red / alpha, green / alpha}, alpha, frameTime);
        });
    setInitialFilters({m_lowPassFilter, m_frameComparisonFilter});
    setTerminalFilter(m_frameComparisonFilter);
    setLowPassFilterStrength(0.5f);
}

void PixMotionDetector::setMotionDetectionBlock(MotionDetectionBlock block) {
    runSynchronouslyOnContextQueue([&] { *m_motionDetectionBlock = std::move(block); });
}

} // namespace zm
