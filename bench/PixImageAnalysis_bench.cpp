// links: framework opencv_imgproc
//
// The detectors, the measuring filters and the temporal filters at 1280 x 720 under Mesa's software
// rasteriser, each frame (the picture already uploaded; draw, read back where the filter reports to the
// CPU, glFinish) beside its OpenCV counterpart on the same pixels, in the same run. Goal: no slower than
// OpenCV. OpenCV starts from the same RGBA picture, so the counterparts of filters that work on
// luminance take its grey first.

#include "bench/PixFilterBench.h"
#include "framework/Source/PixAdaptiveThresholdFilter.h"
#include "framework/Source/PixAverageColor.h"
#include "framework/Source/PixHarrisCornerDetectionFilter.h"
#include "framework/Source/PixHistogramFilter.h"
#include "framework/Source/PixHoughTransformLineDetector.h"
#include "framework/Source/PixLowPassFilter.h"
#include "framework/Source/PixLuminosity.h"
#include "framework/Source/PixMotionDetector.h"
#include "framework/Source/PixNobleCornerDetectionFilter.h"
#include "framework/Source/PixShiTomasiFeatureDetectionFilter.h"

#include <opencv2/imgproc.hpp>

namespace {

using namespace pixbench;

cv::Mat grey(const cv::Mat& source) {
    cv::Mat made;
    cv::cvtColor(source, made, cv::COLOR_RGBA2GRAY);
    return made;
}

// Corners: Harris and Noble against cornerHarris, Shi-Tomasi against goodFeaturesToTrack (as many
// corners as the detectors report).

void BM_HarrisCorners(benchmark::State& state) {
    renderBenchmark(state, zm::PixHarrisCornerDetectionFilter::create());
}
BENCHMARK(BM_HarrisCorners)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NobleCorners(benchmark::State& state) {
    renderBenchmark(state, zm::PixNobleCornerDetectionFilter::create());
}
BENCHMARK(BM_NobleCorners)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVCornerHarris(benchmark::State& state) {
    openCVBenchmark(state, pictureMat(),
                    [](const cv::Mat& source, cv::Mat& result) { cv::cornerHarris(grey(source), result, 3, 3, 0.04); });
}
BENCHMARK(BM_OpenCVCornerHarris)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ShiTomasiFeatures(benchmark::State& state) {
    renderBenchmark(state, zm::PixShiTomasiFeatureDetectionFilter::create());
}
BENCHMARK(BM_ShiTomasiFeatures)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVGoodFeaturesToTrack(benchmark::State& state) {
    openCVBenchmark(state, pictureMat(), [](const cv::Mat& source, cv::Mat& result) {
        cv::goodFeaturesToTrack(grey(source), result, zm::PixHarrisCornerDetectionFilter::kMaximumCorners, 0.01, 1);
    });
}
BENCHMARK(BM_OpenCVGoodFeaturesToTrack)->Unit(benchmark::kMillisecond)->UseRealTime();

// Lines: the detector against Canny and HoughLines.

void BM_HoughLines(benchmark::State& state) {
    renderBenchmark(state, zm::PixHoughTransformLineDetector::create());
}
BENCHMARK(BM_HoughLines)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVCannyHoughLines(benchmark::State& state) {
    openCVBenchmark(state, pictureMat(), [](const cv::Mat& source, cv::Mat& result) {
        cv::Mat edges;
        cv::Canny(grey(source), edges, 0.4 * 255, 0.8 * 255);
        cv::HoughLines(edges, result, 1, CV_PI / 180, 150);
    });
}
BENCHMARK(BM_OpenCVCannyHoughLines)->Unit(benchmark::kMillisecond)->UseRealTime();

// Statistics: the histogram of every pixel's three channels against calcHist of each, the average
// colour against mean, the luminosity against the grey's mean, the adaptive threshold against
// adaptiveThreshold of the grey's 5 x 5 mean.

void BM_Histogram(benchmark::State& state) {
    auto histogram = zm::PixHistogramFilter::create(zm::kPixHistogramRGB);
    histogram->setDownsamplingFactor(1);
    renderBenchmark(state, histogram);
}
BENCHMARK(BM_Histogram)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVCalcHist(benchmark::State& state) {
    openCVBenchmark(state, pictureMat(), [](const cv::Mat& source, cv::Mat& result) {
        const int histogramSize = 256;
        const float range[] = {0, 256};
        const float* ranges[] = {range};
        for (int channel = 0; channel < 3; ++channel)
            cv::calcHist(&source, 1, &channel, cv::Mat(), result, 1, &histogramSize, ranges);
    });
}
BENCHMARK(BM_OpenCVCalcHist)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AverageColor(benchmark::State& state) {
    renderBenchmark(state, zm::PixAverageColor::create());
}
BENCHMARK(BM_AverageColor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVMean(benchmark::State& state) {
    openCVBenchmark(state, pictureMat(), [](const cv::Mat& source, cv::Mat& result) { result = cv::Mat(cv::mean(source)); });
}
BENCHMARK(BM_OpenCVMean)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Luminosity(benchmark::State& state) {
    renderBenchmark(state, zm::PixLuminosity::create());
}
BENCHMARK(BM_Luminosity)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVGreyMean(benchmark::State& state) {
    openCVBenchmark(state, pictureMat(),
                    [](const cv::Mat& source, cv::Mat& result) { result = cv::Mat(cv::mean(grey(source))); });
}
BENCHMARK(BM_OpenCVGreyMean)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AdaptiveThreshold(benchmark::State& state) {
    renderBenchmark(state, zm::PixAdaptiveThresholdFilter::create());
}
BENCHMARK(BM_AdaptiveThreshold)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVAdaptiveThreshold(benchmark::State& state) {
    openCVBenchmark(state, pictureMat(), [](const cv::Mat& source, cv::Mat& result) {
        cv::adaptiveThreshold(grey(source), result, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY, 5, 0.05 * 255);
    });
}
BENCHMARK(BM_OpenCVAdaptiveThreshold)->Unit(benchmark::kMillisecond)->UseRealTime();

// Temporal: the low-pass filter against accumulateWeighted into a float average, the motion detector
// against the same average, its absolute difference, a threshold and the moments of what moved.

void BM_LowPass(benchmark::State& state) {
    renderBenchmark(state, zm::PixLowPassFilter::create());
}
BENCHMARK(BM_LowPass)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVAccumulateWeighted(benchmark::State& state) {
    cv::Mat average(kHeight, kWidth, CV_32FC4, cv::Scalar::all(0));
    openCVBenchmark(state, pictureMat(), [&average](const cv::Mat& source, cv::Mat& result) {
        cv::accumulateWeighted(source, average, 0.5);
        result = average;
    });
}
BENCHMARK(BM_OpenCVAccumulateWeighted)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MotionDetector(benchmark::State& state) {
    renderBenchmark(state, zm::PixMotionDetector::create());
}
BENCHMARK(BM_MotionDetector)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVMotion(benchmark::State& state) {
    cv::Mat average(kHeight, kWidth, CV_32FC4, cv::Scalar::all(0));
    openCVBenchmark(state, pictureMat(), [&average](const cv::Mat& source, cv::Mat& result) {
        cv::Mat frame, difference, distance, moving;
        source.convertTo(frame, CV_32FC4);
        cv::accumulateWeighted(frame, average, 0.5);
        cv::absdiff(frame, average, difference);
        cv::cvtColor(difference, distance, cv::COLOR_RGBA2GRAY);
        cv::threshold(distance, moving, 0.2 * 255, 255, cv::THRESH_BINARY);
        const cv::Moments moments = cv::moments(moving, true);
        result = (cv::Mat_<double>(1, 3) << moments.m10 / moments.m00, moments.m01 / moments.m00, moments.m00);
    });
}
BENCHMARK(BM_OpenCVMotion)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
