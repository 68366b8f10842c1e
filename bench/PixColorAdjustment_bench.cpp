// links: framework opencv_imgproc
//
// The colour-adjustment filters at 1280 x 720 under Mesa's software rasteriser, each render (the
// picture already uploaded; draw, then glFinish) beside its OpenCV counterpart on the same pixels, in
// the same run. Goal: no slower than OpenCV. The upload and the read-back are timed apart.

#include "bench/PixFilterBench.h"
#include "framework/Source/PixBrightnessFilter.h"
#include "framework/Source/PixColorInvertFilter.h"
#include "framework/Source/PixColorMatrixFilter.h"
#include "framework/Source/PixContrastFilter.h"
#include "framework/Source/PixExposureFilter.h"
#include "framework/Source/PixFilter.h"
#include "framework/Source/PixGammaFilter.h"
#include "framework/Source/PixGrayscaleFilter.h"
#include "framework/Source/PixHueFilter.h"
#include "framework/Source/PixLevelsFilter.h"
#include "framework/Source/PixLuminanceThresholdFilter.h"
#include "framework/Source/PixSepiaFilter.h"

#include <opencv2/imgproc.hpp>

namespace {

using namespace pixbench;

void BM_Upload(benchmark::State& state) {
    Stage stage(zm::PixFilter::create());
    for (auto _ : state) {
        stage.input()->updateDataFromBytes(picture().data(), {kWidth, kHeight});
        zm::runSynchronouslyOnContextQueue([] { glFinish(); });
    }
    countPixels(state);
}
BENCHMARK(BM_Upload)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadBack(benchmark::State& state) {
    Stage stage(zm::PixFilter::create());
    for (auto _ : state)
        benchmark::DoNotOptimize(stage.filter()->newImageFromCurrentlyProcessedOutput());
    countPixels(state);
}
BENCHMARK(BM_ReadBack)->Unit(benchmark::kMillisecond)->UseRealTime();

// Colour matrix and sepia against cv::transform.

void BM_ColorMatrix(benchmark::State& state) {
    auto filter = zm::PixColorMatrixFilter::create();
    filter->setColorMatrix({{0, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}});
    renderBenchmark(state, filter);
}
BENCHMARK(BM_ColorMatrix)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Sepia(benchmark::State& state) {
    renderBenchmark(state, zm::PixSepiaFilter::create());
}
BENCHMARK(BM_Sepia)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVTransform(benchmark::State& state) {
    const cv::Mat source = pictureMat();
    const cv::Matx44f sepia(0.3588f, 0.7044f, 0.1368f, 0, 0.2990f, 0.5870f, 0.1140f, 0, 0.2392f, 0.4696f, 0.0912f, 0,
                            0, 0, 0, 1);
    cv::Mat result;
    for (auto _ : state) {
        cv::transform(source, result, sepia);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVTransform)->Unit(benchmark::kMillisecond)->UseRealTime();

// Grayscale against cvtColor.

void BM_Grayscale(benchmark::State& state) {
    renderBenchmark(state, zm::PixGrayscaleFilter::create());
}
BENCHMARK(BM_Grayscale)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVCvtColorGray(benchmark::State& state) {
    const cv::Mat source = pictureMat();
    cv::Mat result;
    for (auto _ : state) {
        cv::cvtColor(source, result, cv::COLOR_RGBA2GRAY);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVCvtColorGray)->Unit(benchmark::kMillisecond)->UseRealTime();

// Brightness, contrast and exposure against Mat::convertTo (a scale and an offset).

void BM_Brightness(benchmark::State& state) {
    auto filter = zm::PixBrightnessFilter::create();
    filter->setBrightness(0.2f);
    renderBenchmark(state, filter);
}
BENCHMARK(BM_Brightness)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Contrast(benchmark::State& state) {
    auto filter = zm::PixContrastFilter::create();
    filter->setContrast(1.5f);
    renderBenchmark(state, filter);
}
BENCHMARK(BM_Contrast)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Exposure(benchmark::State& state) {
    auto filter = zm::PixExposureFilter::create();
    filter->setExposure(0.5f);
    renderBenchmark(state, filter);
}
BENCHMARK(BM_Exposure)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVConvertTo(benchmark::State& state) {
    const cv::Mat source = pictureMat();
    cv::Mat result;
    for (auto _ : state) {
        source.convertTo(result, -1, 1.5, -64);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVConvertTo)->Unit(benchmark::kMillisecond)->UseRealTime();

// Gamma and levels against a look-up table.

void BM_Gamma(benchmark::State& state) {
    auto filter = zm::PixGammaFilter::create();
    filter->setGamma(2.2f);
    renderBenchmark(state, filter);
}
BENCHMARK(BM_Gamma)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Levels(benchmark::State& state) {
    auto filter = zm::PixLevelsFilter::create();
    filter->setMin(0.1f, 0.8f, 0.9f, 0.05f, 0.95f);
    renderBenchmark(state, filter);
}
BENCHMARK(BM_Levels)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVLUT(benchmark::State& state) {
    const cv::Mat source = pictureMat();
    cv::Mat table(1, 256, CV_8U);
    for (int level = 0; level < 256; ++level)
        table.at<std::uint8_t>(level) = cv::saturate_cast<std::uint8_t>(std::pow(level / 255.0, 2.2) * 255);
    cv::Mat result;
    for (auto _ : state) {
        cv::LUT(source, table, result);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVLUT)->Unit(benchmark::kMillisecond)->UseRealTime();

// Luminance threshold against cvtColor and threshold.

void BM_LuminanceThreshold(benchmark::State& state) {
    renderBenchmark(state, zm::PixLuminanceThresholdFilter::create());
}
BENCHMARK(BM_LuminanceThreshold)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVGrayThreshold(benchmark::State& state) {
    const cv::Mat source = pictureMat();
    cv::Mat grey, result;
    for (auto _ : state) {
        cv::cvtColor(source, grey, cv::COLOR_RGBA2GRAY);
        cv::threshold(grey, result, 127, 255, cv::THRESH_BINARY);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVGrayThreshold)->Unit(benchmark::kMillisecond)->UseRealTime();

// Invert against bitwise_not.

void BM_ColorInvert(benchmark::State& state) {
    renderBenchmark(state, zm::PixColorInvertFilter::create());
}
BENCHMARK(BM_ColorInvert)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVBitwiseNot(benchmark::State& state) {
    const cv::Mat source = pictureMat();
    cv::Mat result;
    for (auto _ : state) {
        cv::bitwise_not(source, result);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVBitwiseNot)->Unit(benchmark::kMillisecond)->UseRealTime();

// Hue against a trip to HSV and back.

void BM_Hue(benchmark::State& state) {
    renderBenchmark(state, zm::PixHueFilter::create());
}
BENCHMARK(BM_Hue)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVHSVAndBack(benchmark::State& state) {
    const cv::Mat source = pictureMat();
    cv::Mat rgb, hsv, result;
    for (auto _ : state) {
        cv::cvtColor(source, rgb, cv::COLOR_RGBA2RGB);
        cv::cvtColor(rgb, hsv, cv::COLOR_RGB2HSV);
        cv::cvtColor(hsv, result, cv::COLOR_HSV2RGB);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVHSVAndBack)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
