// links: framework opencv_imgproc opencv_photo
//
// The tone curve, crop, transform, Lanczos resampling and Poisson blend at 1280 x 720 under Mesa's
// software rasteriser, each render (pictures already uploaded; draw, then glFinish) beside its OpenCV
// counterpart on the same pixels, in the same run. Goal: no slower than OpenCV.

#include "bench/PixFilterBench.h"
#include "framework/Source/PixCropFilter.h"
#include "framework/Source/PixLanczosResamplingFilter.h"
#include "framework/Source/PixPoissonBlendFilter.h"
#include "framework/Source/PixToneCurveFilter.h"
#include "framework/Source/PixTransformFilter.h"

#include <opencv2/imgproc.hpp>
#include <opencv2/photo.hpp>

namespace {

using namespace pixbench;

// The same curves on both sides: an S over all three channels, blue lifted.
const zm::PixToneCurveFilter::ControlPoints kComposite{{0, 0}, {0.25f, 0.15f}, {0.75f, 0.85f}, {1, 1}};
const zm::PixToneCurveFilter::ControlPoints kBlue{{0, 0.2f}, {1, 0.8f}};

std::shared_ptr<zm::PixToneCurveFilter> curveFilter() {
    auto filter = zm::PixToneCurveFilter::create();
    filter->setRgbCompositeControlPoints(kComposite);
    filter->setBlueControlPoints(kBlue);
    return filter;
}

void BM_ToneCurve(benchmark::State& state) {
    renderBenchmark(state, curveFilter());
}
BENCHMARK(BM_ToneCurve)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVLUT(benchmark::State& state) {
    // The filter's own table (blue, green, red, alpha per level) as a four-channel LUT of RGBA.
    const std::array<std::uint8_t, 1024> bytes = curveFilter()->toneCurveBytes();
    cv::Mat table(1, 256, CV_8UC4);
    for (int level = 0; level < 256; ++level)
        table.at<cv::Vec4b>(0, level) = {bytes[level * 4 + 2], bytes[level * 4 + 1], bytes[level * 4], static_cast<std::uint8_t>(level)};
    const cv::Mat source = pictureMat();
    cv::Mat result;
    for (auto _ : state) {
        cv::LUT(source, table, result);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVLUT)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Crop(benchmark::State& state) {
    renderBenchmark(state, zm::PixCropFilter::create({0.25f, 0.25f, 0.5f, 0.5f}));
}
BENCHMARK(BM_Crop)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVCopiedRegion(benchmark::State& state) {
    const cv::Mat source = pictureMat();
    cv::Mat result;
    for (auto _ : state) {
        source(cv::Rect(kWidth / 4, kHeight / 4, kWidth / 2, kHeight / 2)).copyTo(result);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVCopiedRegion)->Unit(benchmark::kMillisecond)->UseRealTime();

// A turn of 30 degrees and a scale of 0.8 about the centre, on both sides.
constexpr float kAngle = 0.5235988f, kScale = 0.8f;

void BM_Transform(benchmark::State& state) {
    auto filter = zm::PixTransformFilter::create();
    filter->setAffineTransform({kScale * std::cos(kAngle), kScale * std::sin(kAngle), -kScale * std::sin(kAngle),
                                kScale * std::cos(kAngle), 0, 0});
    renderBenchmark(state, filter);
}
BENCHMARK(BM_Transform)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVWarpAffine(benchmark::State& state) {
    const cv::Mat source = pictureMat();
    const cv::Mat turn = cv::getRotationMatrix2D({kWidth / 2.0f, kHeight / 2.0f}, 30, kScale);
    cv::Mat result;
    for (auto _ : state) {
        cv::warpAffine(source, result, turn, source.size(), cv::INTER_LINEAR);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVWarpAffine)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LanczosResampling(benchmark::State& state) {
    auto filter = zm::PixLanczosResamplingFilter::create();
    filter->forceProcessingAtSize({kWidth / 2, kHeight / 2});
    renderBenchmark(state, filter);
}
BENCHMARK(BM_LanczosResampling)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVResizeLanczos4(benchmark::State& state) {
    const cv::Mat source = pictureMat();
    cv::Mat result;
    for (auto _ : state) {
        cv::resize(source, result, {kWidth / 2, kHeight / 2}, 0, 0, cv::INTER_LANCZOS4);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVResizeLanczos4)->Unit(benchmark::kMillisecond)->UseRealTime();

// The patch pasted: the second picture, opaque in a 400 x 300 rectangle in the middle.
const cv::Rect kPatch(kWidth / 2 - 200, kHeight / 2 - 150, 400, 300);

const std::vector<std::uint8_t>& patchPicture() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> made = secondPicture();
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                made[(std::size_t(y) * kWidth + x) * 4 + 3] = kPatch.contains({x, y}) ? 255 : 0;
        return made;
    }();
    return bytes;
}

void BM_PoissonBlendTenPasses(benchmark::State& state) {
    auto filter = zm::PixPoissonBlendFilter::create();
    filter->setMix(1);
    filter->setNumIterations(10);
    Stage stage(filter, 2, patchPicture());
    for (auto _ : state)
        stage.render();
    countPixels(state);
}
BENCHMARK(BM_PoissonBlendTenPasses)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVSeamlessClone(benchmark::State& state) {
    cv::Mat base, overlay;
    cv::cvtColor(pictureMat(), base, cv::COLOR_RGBA2BGR);
    cv::cvtColor(secondPictureMat(), overlay, cv::COLOR_RGBA2BGR);
    cv::Mat mask = cv::Mat::zeros(kHeight, kWidth, CV_8UC1);
    mask(kPatch).setTo(255);
    cv::Mat result;
    for (auto _ : state) {
        cv::seamlessClone(overlay, base, mask, {kWidth / 2, kHeight / 2}, result, cv::NORMAL_CLONE);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVSeamlessClone)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
