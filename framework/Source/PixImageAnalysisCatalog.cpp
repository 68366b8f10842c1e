#include "framework/Source/PixFilterCatalog.h"

#include "framework/Source/PixAdaptiveThresholdFilter.h"
#include "framework/Source/PixAverageColor.h"
#include "framework/Source/PixAverageLuminanceThresholdFilter.h"
#include "framework/Source/PixBuffer.h"
#include "framework/Source/PixColorPackingFilter.h"
#include "framework/Source/PixFilterRegistry.h"
#include "framework/Source/PixHarrisCornerDetectionFilter.h"
#include "framework/Source/PixHistogramFilter.h"
#include "framework/Source/PixHistogramGenerator.h"
#include "framework/Source/PixHighPassFilter.h"
#include "framework/Source/PixHoughTransformLineDetector.h"
#include "framework/Source/PixLocalBinaryPatternFilter.h"
#include "framework/Source/PixLowPassFilter.h"
#include "framework/Source/PixLuminosity.h"
#include "framework/Source/PixMotionDetector.h"
#include "framework/Source/PixNobleCornerDetectionFilter.h"
#include "framework/Source/PixParallelCoordinateLineTransformFilter.h"
#include "framework/Source/PixShiTomasiFeatureDetectionFilter.h"

namespace zm {

namespace {

template <class Detector> void addCornerDetector(PixFilterRegistry& registry, const std::string& name) {
    registry.add<Detector>(name)
        .set("setBlurSize:", &Detector::setBlurSize)
        .set("setSensitivity:", &Detector::setSensitivity)
        .set("setThreshold:", &Detector::setThreshold);
}

} // namespace

// The detectors and the measuring filters report through blocks a configuration cannot give; in a
// pipeline they pass their pictures on (the histogram its 256 x 3 counts). A configuration makes the
// histogram of all three channels.
void registerImageAnalysisFilters(PixFilterRegistry& registry) {
    addCornerDetector<PixHarrisCornerDetectionFilter>(registry, "PixHarrisCornerDetectionFilter");
    addCornerDetector<PixNobleCornerDetectionFilter>(registry, "PixNobleCornerDetectionFilter");
    addCornerDetector<PixShiTomasiFeatureDetectionFilter>(registry, "PixShiTomasiFeatureDetectionFilter");
    registry.add<PixHoughTransformLineDetector>("PixHoughTransformLineDetector")
        .set("setEdgeThreshold:", &PixHoughTransformLineDetector::setEdgeThreshold)
        .set("setLineDetectionThreshold:", &PixHoughTransformLineDetector::setLineDetectionThreshold);
    registry.add<PixParallelCoordinateLineTransformFilter>("PixParallelCoordinateLineTransformFilter");
    registry.add<PixLocalBinaryPatternFilter>("PixLocalBinaryPatternFilter")
        .set("setTexelWidth:", &PixLocalBinaryPatternFilter::setTexelWidth)
        .set("setTexelHeight:", &PixLocalBinaryPatternFilter::setTexelHeight);
    registry.add<PixColorPackingFilter>("PixColorPackingFilter");
    registry.add<PixHistogramFilter>("PixHistogramFilter")
        .set("setDownsamplingFactor:", &PixHistogramFilter::setDownsamplingFactor);
    registry.add<PixHistogramGenerator>("PixHistogramGenerator");
    registry.add<PixAverageColor>("PixAverageColor");
    registry.add<PixLuminosity>("PixLuminosity");
    registry.add<PixAverageLuminanceThresholdFilter>("PixAverageLuminanceThresholdFilter")
        .set("setThresholdMultiplier:", &PixAverageLuminanceThresholdFilter::setThresholdMultiplier);
    registry.add<PixAdaptiveThresholdFilter>("PixAdaptiveThresholdFilter")
        .set("setBlurSize:", &PixAdaptiveThresholdFilter::setBlurSize);
    registry.add<PixBuffer>("PixBuffer").set("setBufferSize:", &PixBuffer::setBufferSize);
    registry.add<PixLowPassFilter>("PixLowPassFilter").set("setFilterStrength:", &PixLowPassFilter::setFilterStrength);
    registry.add<PixHighPassFilter>("PixHighPassFilter").set("setFilterStrength:", &PixHighPassFilter::setFilterStrength);
    registry.add<PixMotionDetector>("PixMotionDetector")
        .set("setLowPassFilterStrength:", &PixMotionDetector::setLowPassFilterStrength);
}

} // namespace zm
