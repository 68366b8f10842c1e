#include "framework/Source/PixHoughTransformLineDetector.h"

#include "framework/Source/PixContext.h"

namespace zm {

std::shared_ptr<PixHoughTransformLineDetector> PixHoughTransformLineDetector::create() {
    return std::shared_ptr<PixHoughTransformLineDetector>(new PixHoughTransformLineDetector);
}

PixHoughTransformLineDetector::PixHoughTransformLineDetector()
    : m_thresholdEdgeDetectionFilter(PixThresholdEdgeDetectionFilter::create())
    , m_parallelCoordinateLineTransformFilter(PixParallelCoordinateLineTransformFilter::create())
    // Counted in decimal digits over three channels where the device reads its framebuffer.
    , m_nonMaximumSuppressionFilter(PixThresholdedNonMaximumSuppressionFilter::create(PixContext::deviceSupportsFramebufferReads()))
    , m_readBack(std::make_shared<ReadBack>()) {
    m_thresholdEdgeDetectionFilter->setThreshold(0.4f);
    m_thresholdEdgeDetectionFilter->setEdgeStrength(1.0f);
    addFilter(m_thresholdEdgeDetectionFilter);
    addFilter(m_parallelCoordinateLineTransformFilter);
    addFilter(m_nonMaximumSuppressionFilter);
    m_thresholdEdgeDetectionFilter->addTarget(m_parallelCoordinateLineTransformFilter);
    m_parallelCoordinateLineTransformFilter->addTarget(m_nonMaximumSuppressionFilter);
    m_nonMaximumSuppressionFilter->setFrameProcessingCompletionBlock(
        [readBack = m_readBack](PixOutput& suppression, PixFrameTime frameTime) {
            extractLineParameters(*readBack, suppression, frameTime);
        });
    setInitialFilters({m_thresholdEdgeDetectionFilter});
    setTerminalFilter(m_nonMaximumSuppressionFilter);
    setLineDetectionThreshold(0.8f);
}

void PixHoughTransformLineDetector::setLinesDetectedBlock(LinesDetectedBlock block) {
    runSynchronouslyOnContextQueue([&] { m_readBack->linesDetectedBlock = std::move(block); });
}

std::vector<float> PixHoughTransformLineDetector::linesInPixels(const std::uint8_t* pixels, int width, int height,
                                                                unsigned maximum) {
    std::vector<float> lines;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            if (lines.size() / 2 == maximum)
                return lines;
            if (pixels[(static_cast<std::size_t>(row) * width + column) * 4] == 0)
                continue;
            const float x = 2.0f * static_cast<float>(column) / static_cast<float>(width) - 1.0f;
            const float y = 2.0f * static_cast<float>(row) / static_cast<float>(height) - 1.0f;
            if (x > -0.05f && x < 0.05f) {
                lines.push_back(100000.0f);
                lines.push_back(y);
            } else if (x >= 0.05f) {
                lines.push_back(1.0f - 1.0f / x);
                lines.push_back(y / x);
            } else {
                lines.push_back(-1.0f / x - 1.0f);
                lines.push_back(y / x);
            }
        }
    }
    return lines;
}

// Right after the suppression has drawn, its framebuffer still bound.
void PixHoughTransformLineDetector::extractLineParameters(ReadBack& readBack, PixOutput& suppression,
                                                          PixFrameTime frameTime) {
    const auto [width, height] =
        static_cast<PixThresholdedNonMaximumSuppressionFilter&>(suppression).readDrawnPeaks(readBack.rawImagePixels);
    readBack.lines = linesInPixels(readBack.rawImagePixels.data(), width, height, kMaximumLines);
    if (readBack.linesDetectedBlock)
        readBack.linesDetectedBlock(readBack.lines.data(), static_cast<unsigned>(readBack.lines.size() / 2), frameTime);
}

} // namespace zm
