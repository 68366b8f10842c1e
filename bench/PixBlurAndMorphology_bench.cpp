// links: framework opencv_imgproc
//
// The blur, convolution and morphology filters at 1280 x 720 under Mesa's software rasteriser, each
// render (the picture already uploaded; draw, then glFinish) beside its OpenCV counterpart on the same
// pixels, in the same run. Goal: no slower than OpenCV. The blurs take samples one texel apart (the
// 9-sample Gaussian's reach of 4 pixels, standard deviation about 2.12), and OpenCV is asked for the
// same reach; the morphology runs at radius 1 and 4.

#include "bench/PixFilterBench.h"
#include "framework/Source/Pix3x3ConvolutionFilter.h"
#include "framework/Source/PixBilateralFilter.h"
#include "framework/Source/PixBoxBlurFilter.h"
#include "framework/Source/PixEmbossFilter.h"
#include "framework/Source/PixFastBlurFilter.h"
#include "framework/Source/PixGaussianBlurFilter.h"
#include "framework/Source/PixLaplacianFilter.h"
#include "framework/Source/PixMedianFilter.h"
#include "framework/Source/PixMorphologyGroups.h"
#include "framework/Source/PixMotionBlurFilter.h"
#include "framework/Source/PixSharpenFilter.h"
#include "framework/Source/PixUnsharpMaskFilter.h"

#include <opencv2/imgproc.hpp>

namespace {

using namespace pixbench;

constexpr double kSigma = 2.12;

// Blurs.

void BM_GaussianBlur(benchmark::State& state) {
    renderBenchmark(state, zm::PixGaussianBlurFilter::create());
}
BENCHMARK(BM_GaussianBlur)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FastBlur(benchmark::State& state) {
    renderBenchmark(state, zm::PixFastBlurFilter::create());
}
BENCHMARK(BM_FastBlur)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVGaussianBlur(benchmark::State& state) {
    openCVBenchmark(state, pictureMat(), [](const cv::Mat& source, cv::Mat& result) {
        cv::GaussianBlur(source, result, cv::Size(9, 9), kSigma, kSigma, cv::BORDER_REPLICATE);
    });
}
BENCHMARK(BM_OpenCVGaussianBlur)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BoxBlur(benchmark::State& state) {
    renderBenchmark(state, zm::PixBoxBlurFilter::create());
}
BENCHMARK(BM_BoxBlur)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVBoxFilter(benchmark::State& state) {
    openCVBenchmark(state, pictureMat(), [](const cv::Mat& source, cv::Mat& result) {
        cv::boxFilter(source, result, -1, cv::Size(9, 9), cv::Point(-1, -1), true, cv::BORDER_REPLICATE);
    });
}
BENCHMARK(BM_OpenCVBoxFilter)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BilateralBlur(benchmark::State& state) {
    auto filter = zm::PixBilateralFilter::create();
    filter->setBlurSize(1);
    renderBenchmark(state, filter);
}
BENCHMARK(BM_BilateralBlur)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVBilateralFilter(benchmark::State& state) {
    // OpenCV's bilateral filter takes three channels at most.
    cv::Mat rgb;
    cv::cvtColor(pictureMat(), rgb, cv::COLOR_RGBA2RGB);
    openCVBenchmark(state, rgb, [](const cv::Mat& source, cv::Mat& result) {
        cv::bilateralFilter(source, result, 9, 255.0 / 8, kSigma, cv::BORDER_REPLICATE);
    });
}
BENCHMARK(BM_OpenCVBilateralFilter)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Median(benchmark::State& state) {
    renderBenchmark(state, zm::PixMedianFilter::create());
}
BENCHMARK(BM_Median)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVMedianBlur(benchmark::State& state) {
    openCVBenchmark(state, pictureMat(), [](const cv::Mat& source, cv::Mat& result) { cv::medianBlur(source, result, 3); });
}
BENCHMARK(BM_OpenCVMedianBlur)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UnsharpMask(benchmark::State& state) {
    auto filter = zm::PixUnsharpMaskFilter::create();
    filter->setIntensity(2);
    renderBenchmark(state, filter);
}
BENCHMARK(BM_UnsharpMask)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVGaussianBlurAndAddWeighted(benchmark::State& state) {
    cv::Mat blurred;
    openCVBenchmark(state, pictureMat(), [&blurred](const cv::Mat& source, cv::Mat& result) {
        cv::GaussianBlur(source, blurred, cv::Size(9, 9), kSigma, kSigma, cv::BORDER_REPLICATE);
        cv::addWeighted(source, 2, blurred, -1, 0, result);
    });
}
BENCHMARK(BM_OpenCVGaussianBlurAndAddWeighted)->Unit(benchmark::kMillisecond)->UseRealTime();

// Convolutions.

void BM_MotionBlur(benchmark::State& state) {
    renderBenchmark(state, zm::PixMotionBlurFilter::create());
}
BENCHMARK(BM_MotionBlur)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVFilter2DLine(benchmark::State& state) {
    const cv::Mat line = (cv::Mat_<float>(1, 9) << 0.05f, 0.09f, 0.12f, 0.15f, 0.18f, 0.15f, 0.12f, 0.09f, 0.05f);
    openCVBenchmark(state, pictureMat(), [&line](const cv::Mat& source, cv::Mat& result) {
        cv::filter2D(source, result, -1, line, cv::Point(-1, -1), 0, cv::BORDER_REPLICATE);
    });
}
BENCHMARK(BM_OpenCVFilter2DLine)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Sharpen(benchmark::State& state) {
    auto filter = zm::PixSharpenFilter::create();
    filter->setSharpness(1);
    renderBenchmark(state, filter);
}
BENCHMARK(BM_Sharpen)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Emboss(benchmark::State& state) {
    renderBenchmark(state, zm::PixEmbossFilter::create());
}
BENCHMARK(BM_Emboss)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_3x3Convolution(benchmark::State& state) {
    auto filter = zm::Pix3x3ConvolutionFilter::create();
    filter->setConvolutionKernel({{-1, 0, 1}, {-2, 0, 2}, {-1, 0, 1}});
    renderBenchmark(state, filter);
}
BENCHMARK(BM_3x3Convolution)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVFilter2D3x3(benchmark::State& state) {
    const cv::Mat kernel = (cv::Mat_<float>(3, 3) << -2, -1, 0, -1, 1, 1, 0, 1, 2);
    openCVBenchmark(state, pictureMat(), [&kernel](const cv::Mat& source, cv::Mat& result) {
        cv::filter2D(source, result, -1, kernel, cv::Point(-1, -1), 0, cv::BORDER_REPLICATE);
    });
}
BENCHMARK(BM_OpenCVFilter2D3x3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Laplacian(benchmark::State& state) {
    renderBenchmark(state, zm::PixLaplacianFilter::create());
}
BENCHMARK(BM_Laplacian)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVLaplacian(benchmark::State& state) {
    openCVBenchmark(state, pictureMat(), [](const cv::Mat& source, cv::Mat& result) {
        cv::Laplacian(source, result, -1, 3, 1, 128, cv::BORDER_REPLICATE);
    });
}
BENCHMARK(BM_OpenCVLaplacian)->Unit(benchmark::kMillisecond)->UseRealTime();

// Morphology, at radius 1 and 4.

void BM_Dilation(benchmark::State& state) {
    renderBenchmark(state, zm::PixRGBDilationFilter::create(static_cast<unsigned>(state.range(0))));
}
BENCHMARK(BM_Dilation)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Erosion(benchmark::State& state) {
    renderBenchmark(state, zm::PixRGBErosionFilter::create(static_cast<unsigned>(state.range(0))));
}
BENCHMARK(BM_Erosion)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

cv::Mat squareOfRadius(int radius) {
    return cv::getStructuringElement(cv::MORPH_RECT, cv::Size(2 * radius + 1, 2 * radius + 1));
}

void BM_OpenCVDilate(benchmark::State& state) {
    const cv::Mat kernel = squareOfRadius(static_cast<int>(state.range(0)));
    openCVBenchmark(state, pictureMat(), [&kernel](const cv::Mat& source, cv::Mat& result) { cv::dilate(source, result, kernel); });
}
BENCHMARK(BM_OpenCVDilate)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVErode(benchmark::State& state) {
    const cv::Mat kernel = squareOfRadius(static_cast<int>(state.range(0)));
    openCVBenchmark(state, pictureMat(), [&kernel](const cv::Mat& source, cv::Mat& result) { cv::erode(source, result, kernel); });
}
BENCHMARK(BM_OpenCVErode)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Opening(benchmark::State& state) {
    renderBenchmark(state, zm::PixRGBOpeningFilter::create(static_cast<unsigned>(state.range(0))));
}
BENCHMARK(BM_Opening)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Closing(benchmark::State& state) {
    renderBenchmark(state, zm::PixRGBClosingFilter::create(static_cast<unsigned>(state.range(0))));
}
BENCHMARK(BM_Closing)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVMorphologyOpen(benchmark::State& state) {
    const cv::Mat kernel = squareOfRadius(static_cast<int>(state.range(0)));
    openCVBenchmark(state, pictureMat(), [&kernel](const cv::Mat& source, cv::Mat& result) {
        cv::morphologyEx(source, result, cv::MORPH_OPEN, kernel);
    });
}
BENCHMARK(BM_OpenCVMorphologyOpen)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVMorphologyClose(benchmark::State& state) {
    const cv::Mat kernel = squareOfRadius(static_cast<int>(state.range(0)));
    openCVBenchmark(state, pictureMat(), [&kernel](const cv::Mat& source, cv::Mat& result) {
        cv::morphologyEx(source, result, cv::MORPH_CLOSE, kernel);
    });
}
BENCHMARK(BM_OpenCVMorphologyClose)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
