// links: framework opencv_imgproc
//
// Blends and the lookup filter at 1280 x 720 under Mesa's software rasteriser, each render (both
// pictures already uploaded; draw, then glFinish) beside its OpenCV counterpart on the same pixels, in
// the same run. Goal: no slower than OpenCV. The lookup filter has no counterpart: its time alone.

#include "bench/PixFilterBench.h"
#include "framework/Source/PixAddBlendFilter.h"
#include "framework/Source/PixDarkenBlendFilter.h"
#include "framework/Source/PixDifferenceBlendFilter.h"
#include "framework/Source/PixDissolveBlendFilter.h"
#include "framework/Source/PixLightenBlendFilter.h"
#include "framework/Source/PixLookupFilter.h"
#include "framework/Source/PixMultiplyBlendFilter.h"
#include "framework/Source/PixSubtractBlendFilter.h"

#include <opencv2/core.hpp>

namespace {

using namespace pixbench;

template <class Operation> void openCVBenchmark(benchmark::State& state, Operation operation) {
    const cv::Mat base = pictureMat(), overlay = secondPictureMat();
    cv::Mat result;
    for (auto _ : state) {
        operation(base, overlay, result);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}

void BM_DissolveBlend(benchmark::State& state) {
    renderBenchmark(state, zm::PixDissolveBlendFilter::create(), 2);
}
BENCHMARK(BM_DissolveBlend)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVAddWeighted(benchmark::State& state) {
    openCVBenchmark(state, [](const cv::Mat& a, const cv::Mat& b, cv::Mat& result) { cv::addWeighted(a, 0.5, b, 0.5, 0, result); });
}
BENCHMARK(BM_OpenCVAddWeighted)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MultiplyBlend(benchmark::State& state) {
    renderBenchmark(state, zm::PixMultiplyBlendFilter::create(), 2);
}
BENCHMARK(BM_MultiplyBlend)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVMultiply(benchmark::State& state) {
    openCVBenchmark(state, [](const cv::Mat& a, const cv::Mat& b, cv::Mat& result) { cv::multiply(a, b, result, 1.0 / 255); });
}
BENCHMARK(BM_OpenCVMultiply)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DifferenceBlend(benchmark::State& state) {
    renderBenchmark(state, zm::PixDifferenceBlendFilter::create(), 2);
}
BENCHMARK(BM_DifferenceBlend)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVAbsDiff(benchmark::State& state) {
    openCVBenchmark(state, [](const cv::Mat& a, const cv::Mat& b, cv::Mat& result) { cv::absdiff(a, b, result); });
}
BENCHMARK(BM_OpenCVAbsDiff)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AddBlend(benchmark::State& state) {
    renderBenchmark(state, zm::PixAddBlendFilter::create(), 2);
}
BENCHMARK(BM_AddBlend)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVAdd(benchmark::State& state) {
    openCVBenchmark(state, [](const cv::Mat& a, const cv::Mat& b, cv::Mat& result) { cv::add(a, b, result); });
}
BENCHMARK(BM_OpenCVAdd)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SubtractBlend(benchmark::State& state) {
    renderBenchmark(state, zm::PixSubtractBlendFilter::create(), 2);
}
BENCHMARK(BM_SubtractBlend)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVSubtract(benchmark::State& state) {
    openCVBenchmark(state, [](const cv::Mat& a, const cv::Mat& b, cv::Mat& result) { cv::subtract(a, b, result); });
}
BENCHMARK(BM_OpenCVSubtract)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LightenBlend(benchmark::State& state) {
    renderBenchmark(state, zm::PixLightenBlendFilter::create(), 2);
}
BENCHMARK(BM_LightenBlend)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVMax(benchmark::State& state) {
    openCVBenchmark(state, [](const cv::Mat& a, const cv::Mat& b, cv::Mat& result) { cv::max(a, b, result); });
}
BENCHMARK(BM_OpenCVMax)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DarkenBlend(benchmark::State& state) {
    renderBenchmark(state, zm::PixDarkenBlendFilter::create(), 2);
}
BENCHMARK(BM_DarkenBlend)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVMin(benchmark::State& state) {
    openCVBenchmark(state, [](const cv::Mat& a, const cv::Mat& b, cv::Mat& result) { cv::min(a, b, result); });
}
BENCHMARK(BM_OpenCVMin)->Unit(benchmark::kMillisecond)->UseRealTime();

// An identity table, 512 x 512 RGBA.
const std::vector<std::uint8_t>& identityTable() {
    static const std::vector<std::uint8_t> table = [] {
        std::vector<std::uint8_t> made;
        for (int y = 0; y < 512; ++y) {
            for (int x = 0; x < 512; ++x) {
                const int tile = (y / 64) * 8 + x / 64;
                const auto level = [](int step) { return static_cast<std::uint8_t>(std::lround(step * 255.0 / 63)); };
                made.insert(made.end(), {level(x % 64), level(y % 64), level(tile), 255});
            }
        }
        return made;
    }();
    return table;
}

void BM_Lookup(benchmark::State& state) {
    Stage stage(zm::PixLookupFilter::create(), 2, identityTable(), {512, 512});
    for (auto _ : state)
        stage.render();
    countPixels(state);
}
BENCHMARK(BM_Lookup)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
