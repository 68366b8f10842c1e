#include "framework/Source/PixHarrisCornerDetectionFilter.h"

#include "framework/Source/PixContext.h"

namespace zm {

namespace {

const char* const kHarrisCornerDetectionFragmentShader = R"(
varying highp vec2 textureCoordinate;

uniform sampler2D inputImageTexture;
uniform lowp float sensitivity;

const mediump float harrisConstant = 0.04;

void main()
{
    mediump vec3 derivativeElements = texture2D(inputImageTexture, textureCoordinate).rgb;

    mediump float derivativeSum = derivativeElements.x + derivativeElements.y;
    mediump float zElement = (derivativeElements.z * 2.0) - 1.0;

    // R = Ix^2 * Iy^2 - Ixy * Ixy - k * (Ix^2 + Iy^2)^2
    mediump float cornerness = derivativeElements.x * derivativeElements.y - (zElement * zElement) - harrisConstant * derivativeSum * derivativeSum;

    gl_FragColor = vec4(vec3(cornerness * sensitivity), 1.0);
}
)";

} // namespace

std::shared_ptr<PixHarrisCornerDetectionFilter> PixHarrisCornerDetectionFilter::create() {
    return std::shared_ptr<PixHarrisCornerDetectionFilter>(
        new PixHarrisCornerDetectionFilter(kHarrisCornerDetectionFragmentShader));
}

PixHarrisCornerDetectionFilter::PixHarrisCornerDetectionFilter(const std::string& cornerDetectionFragmentShaderString)
    : m_derivativeFilter(PixXYDerivativeFilter::create())
    , m_blurFilter(PixFastBlurFilter::create())
    , m_harrisCornerDetectionFilter(PixFilter::create(cornerDetectionFragmentShaderString))
    , m_nonMaximumSuppressionFilter(PixThresholdedNonMaximumSuppressionFilter::create())
    , m_readBack(std::make_shared<ReadBack>()) {
    const std::shared_ptr<PixFilterNode> stages[] = {m_derivativeFilter, m_blurFilter, m_harrisCornerDetectionFilter,
                                                     m_nonMaximumSuppressionFilter};
    for (std::size_t index = 0; index < std::size(stages); ++index) {
        addFilter(stages[index]);
        if (index > 0)
            stages[index - 1]->addTarget(stages[index]);
    }
    m_nonMaximumSuppressionFilter->setFrameProcessingCompletionBlock(
        [readBack = m_readBack](PixOutput& suppression, PixFrameTime frameTime) {
            extractCornerLocations(*readBack, suppression, frameTime);
        });
    setInitialFilters({m_derivativeFilter});
    setTerminalFilter(m_nonMaximumSuppressionFilter);
    setBlurSize(1.0f);
    setSensitivity(5.0f);
    setThreshold(0.2f);
}

void PixHarrisCornerDetectionFilter::setSensitivity(float newValue) {
    m_sensitivity = newValue;
    m_harrisCornerDetectionFilter->setFloat(newValue, "sensitivity");
}

void PixHarrisCornerDetectionFilter::setCornersDetectedBlock(CornersDetectedBlock block) {
    runSynchronouslyOnContextQueue([&] { m_readBack->cornersDetectedBlock = std::move(block); });
}

std::vector<float> PixHarrisCornerDetectionFilter::cornersInPixels(const std::uint8_t* pixels, int width, int height,
                                                                   unsigned maximum) {
    std::vector<float> corners;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            if (corners.size() / 2 == maximum)
                return corners;
            if (pixels[(static_cast<std::size_t>(row) * width + column) * 4] == 0)
                continue;
            corners.push_back(static_cast<float>(column) / static_cast<float>(width));
            corners.push_back(static_cast<float>(row) / static_cast<float>(height));
        }
    }
    return corners;
}

// Right after the suppression has drawn, its framebuffer still bound.
void PixHarrisCornerDetectionFilter::extractCornerLocations(ReadBack& readBack, PixOutput& suppression,
                                                            PixFrameTime frameTime) {
    const auto [width, height] =
        static_cast<PixThresholdedNonMaximumSuppressionFilter&>(suppression).readDrawnPeaks(readBack.rawImagePixels);
    readBack.corners = cornersInPixels(readBack.rawImagePixels.data(), width, height, kMaximumCorners);
    if (readBack.cornersDetectedBlock)
        readBack.cornersDetectedBlock(readBack.corners.data(), static_cast<unsigned>(readBack.corners.size() / 2), frameTime);
}

} // namespace zm
