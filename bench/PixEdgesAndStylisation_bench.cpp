// links: framework opencv_imgproc
//
// The edge detectors and the stylisers at 1280 x 720 under Mesa's software rasteriser, each render (the
// picture already uploaded; draw, then glFinish) beside its OpenCV counterpart on the same pixels, in
// the same run. Goal: no slower than OpenCV. OpenCV starts from the same RGBA picture, so the
// counterparts of the edge detectors take its grey first, as the filters' luminance pass does. The
// stylisers without a counterpart are timed alone.

#include "bench/PixFilterBench.h"
#include "framework/Source/PixBloomFilter.h"
#include "framework/Source/PixCGAColorspaceFilter.h"
#include "framework/Source/PixCannyEdgeDetectionFilter.h"
#include "framework/Source/PixCrosshatchFilter.h"
#include "framework/Source/PixKuwaharaFilter.h"
#include "framework/Source/PixKuwaharaRadius3Filter.h"
#include "framework/Source/PixMosaicFilter.h"
#include "framework/Source/PixPosterizeFilter.h"
#include "framework/Source/PixPrewittEdgeDetectionFilter.h"
#include "framework/Source/PixSketchFilter.h"
#include "framework/Source/PixSmoothToonFilter.h"
#include "framework/Source/PixSobelEdgeDetectionFilter.h"
#include "framework/Source/PixThresholdSketchFilter.h"
#include "framework/Source/PixToonFilter.h"
#include "framework/Source/PixVignetteFilter.h"

#include <cmath>

#include <opencv2/imgproc.hpp>

namespace {

using namespace pixbench;

// The grey of the picture and the magnitude of the gradient the two kernels give.
void gradientMagnitude(const cv::Mat& source, cv::Mat& result, const cv::Mat& acrossColumns, const cv::Mat& acrossRows) {
    cv::Mat grey, horizontal, vertical;
    cv::cvtColor(source, grey, cv::COLOR_RGBA2GRAY);
    cv::filter2D(grey, horizontal, CV_32F, acrossColumns, cv::Point(-1, -1), 0, cv::BORDER_REPLICATE);
    cv::filter2D(grey, vertical, CV_32F, acrossRows, cv::Point(-1, -1), 0, cv::BORDER_REPLICATE);
    cv::magnitude(horizontal, vertical, result);
}

// Sobel, and the sketch drawn from it, against Sobel in x and y with the magnitude.

void BM_Sobel(benchmark::State& state) {
    renderBenchmark(state, zm::PixSobelEdgeDetectionFilter::create());
}
BENCHMARK(BM_Sobel)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Sketch(benchmark::State& state) {
    renderBenchmark(state, zm::PixSketchFilter::create());
}
BENCHMARK(BM_Sketch)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVSobelMagnitude(benchmark::State& state) {
    openCVBenchmark(state, pictureMat(), [](const cv::Mat& source, cv::Mat& result) {
        cv::Mat grey, horizontal, vertical;
        cv::cvtColor(source, grey, cv::COLOR_RGBA2GRAY);
        cv::Sobel(grey, horizontal, CV_32F, 1, 0, 3, 1, 0, cv::BORDER_REPLICATE);
        cv::Sobel(grey, vertical, CV_32F, 0, 1, 3, 1, 0, cv::BORDER_REPLICATE);
        cv::magnitude(horizontal, vertical, result);
    });
}
BENCHMARK(BM_OpenCVSobelMagnitude)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prewitt against filter2D.

void BM_Prewitt(benchmark::State& state) {
    renderBenchmark(state, zm::PixPrewittEdgeDetectionFilter::create());
}
BENCHMARK(BM_Prewitt)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVFilter2DPrewitt(benchmark::State& state) {
    const cv::Mat acrossColumns = (cv::Mat_<float>(3, 3) << -1, 0, 1, -1, 0, 1, -1, 0, 1);
    const cv::Mat acrossRows = acrossColumns.t();
    openCVBenchmark(state, pictureMat(), [&](const cv::Mat& source, cv::Mat& result) {
        gradientMagnitude(source, result, acrossColumns, acrossRows);
    });
}
BENCHMARK(BM_OpenCVFilter2DPrewitt)->Unit(benchmark::kMillisecond)->UseRealTime();

// Canny against Canny, both after the grey and a light Gaussian blur (the fast blur's nine texels,
// standard deviation about 1.4), with the filter's thresholds of 0.1 and 0.4 on the 0-255 scale.

void BM_Canny(benchmark::State& state) {
    renderBenchmark(state, zm::PixCannyEdgeDetectionFilter::create());
}
BENCHMARK(BM_Canny)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVCanny(benchmark::State& state) {
    openCVBenchmark(state, pictureMat(), [](const cv::Mat& source, cv::Mat& result) {
        cv::Mat grey, blurred;
        cv::cvtColor(source, grey, cv::COLOR_RGBA2GRAY);
        cv::GaussianBlur(grey, blurred, cv::Size(9, 9), 1.4, 1.4, cv::BORDER_REPLICATE);
        cv::Canny(blurred, result, 0.1 * 255, 0.4 * 255, 3, true);
    });
}
BENCHMARK(BM_OpenCVCanny)->Unit(benchmark::kMillisecond)->UseRealTime();

// Posterize against a lookup table over all four channels.

void BM_Posterize(benchmark::State& state) {
    renderBenchmark(state, zm::PixPosterizeFilter::create());
}
BENCHMARK(BM_Posterize)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVLUTPosterize(benchmark::State& state) {
    cv::Mat table(1, 256, CV_8U);
    for (int level = 0; level < 256; ++level)
        table.at<std::uint8_t>(level) = cv::saturate_cast<std::uint8_t>(std::floor(level / 255.0 * 10 + 0.5) / 10 * 255);
    openCVBenchmark(state, pictureMat(), [&table](const cv::Mat& source, cv::Mat& result) { cv::LUT(source, table, result); });
}
BENCHMARK(BM_OpenCVLUTPosterize)->Unit(benchmark::kMillisecond)->UseRealTime();

// The stylisers without a counterpart, at their defaults.

void BM_Toon(benchmark::State& state) {
    renderBenchmark(state, zm::PixToonFilter::create());
}
BENCHMARK(BM_Toon)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SmoothToon(benchmark::State& state) {
    renderBenchmark(state, zm::PixSmoothToonFilter::create());
}
BENCHMARK(BM_SmoothToon)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ThresholdSketch(benchmark::State& state) {
    renderBenchmark(state, zm::PixThresholdSketchFilter::create());
}
BENCHMARK(BM_ThresholdSketch)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Kuwahara(benchmark::State& state) {
    renderBenchmark(state, zm::PixKuwaharaFilter::create());
}
BENCHMARK(BM_Kuwahara)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_KuwaharaRadius3(benchmark::State& state) {
    renderBenchmark(state, zm::PixKuwaharaRadius3Filter::create());
}
BENCHMARK(BM_KuwaharaRadius3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Crosshatch(benchmark::State& state) {
    renderBenchmark(state, zm::PixCrosshatchFilter::create());
}
BENCHMARK(BM_Crosshatch)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CGAColorspace(benchmark::State& state) {
    renderBenchmark(state, zm::PixCGAColorspaceFilter::create());
}
BENCHMARK(BM_CGAColorspace)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Vignette(benchmark::State& state) {
    renderBenchmark(state, zm::PixVignetteFilter::create());
}
BENCHMARK(BM_Vignette)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Bloom(benchmark::State& state) {
    renderBenchmark(state, zm::PixBloomFilter::create());
}
BENCHMARK(BM_Bloom)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Mosaic(benchmark::State& state) {
    // The tile set is the mosaic's own slot 0; the picture comes on slot 1.
    Stage stage(zm::PixMosaicFilter::create());
    for (auto _ : state) {
        zm::runSynchronouslyOnContextQueue([&stage] {
            stage.filter()->newFrameReadyAtTime(zm::PixFrameTime::indefiniteTime(), 1);
            glFinish();
        });
    }
    countPixels(state);
}
BENCHMARK(BM_Mosaic)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
