// links: framework opencv_imgproc
//
// The generators and the Voronoi diagram under Mesa's software rasteriser, each draw (then glFinish)
// beside OpenCV drawing the same, in the same run: a solid colour beside Mat::setTo, 100 lines beside
// line, 100 crosshairs beside drawMarker, all at 1280 x 720; the jump-flooding Voronoi diagram of 50
// seeds beside distanceTransform with DIST_LABEL_PIXEL at 1024 x 1024 (the diagram needs a square
// power of two). Goal: no slower than OpenCV. Perlin noise has no counterpart: its time alone.

#include "bench/PixFilterBench.h"
#include "framework/Source/PixCrosshairGenerator.h"
#include "framework/Source/PixJFAVoronoiFilter.h"
#include "framework/Source/PixLineGenerator.h"
#include "framework/Source/PixPerlinNoiseFilter.h"
#include "framework/Source/PixSolidColorGenerator.h"

#include <random>

#include <opencv2/imgproc.hpp>

namespace {

using namespace pixbench;

// The same hundred lines (slope, intercept in -1 to 1) and points (0 to 1) on both sides.
std::vector<GLfloat> hundredPairs(float low, float high) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(low, high);
    std::vector<GLfloat> pairs;
    for (int pair = 0; pair < 200; ++pair)
        pairs.push_back(value(random));
    return pairs;
}

void BM_SolidColor(benchmark::State& state) {
    auto solid = zm::PixSolidColorGenerator::create();
    solid->forceProcessingAtSize({kWidth, kHeight});
    for (auto _ : state) {
        zm::runSynchronouslyOnContextQueue([&] {
            solid->newFrameReadyAtTime(zm::PixFrameTime::indefiniteTime(), 0);
            glFinish();
        });
    }
    countPixels(state);
}
BENCHMARK(BM_SolidColor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVSetTo(benchmark::State& state) {
    cv::Mat result(kHeight, kWidth, CV_8UC4);
    for (auto _ : state) {
        result.setTo(cv::Scalar(0, 0, 128, 255));
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVSetTo)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HundredLines(benchmark::State& state) {
    auto lines = zm::PixLineGenerator::create();
    lines->forceProcessingAtSize({kWidth, kHeight});
    const std::vector<GLfloat> slopes = hundredPairs(-1, 1);
    for (auto _ : state) {
        lines->renderLinesFromArray(slopes.data(), 100, zm::PixFrameTime::indefiniteTime());
        zm::runSynchronouslyOnContextQueue([] { glFinish(); });
    }
    countPixels(state);
}
BENCHMARK(BM_HundredLines)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVHundredLines(benchmark::State& state) {
    const std::vector<GLfloat> slopes = hundredPairs(-1, 1);
    cv::Mat result(kHeight, kWidth, CV_8UC4);
    const auto pixel = [](float x, float y) {
        return cv::Point(static_cast<int>((x + 1) / 2 * kWidth), static_cast<int>((y + 1) / 2 * kHeight));
    };
    for (auto _ : state) {
        result.setTo(cv::Scalar::all(0));
        for (int line = 0; line < 100; ++line) {
            const float m = slopes[line * 2], b = slopes[line * 2 + 1];
            cv::line(result, pixel(-1, b - m), pixel(1, m + b), cv::Scalar(0, 255, 0, 255), 1);
        }
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVHundredLines)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HundredCrosshairs(benchmark::State& state) {
    auto crosshairs = zm::PixCrosshairGenerator::create();
    crosshairs->forceProcessingAtSize({kWidth, kHeight});
    const std::vector<GLfloat> points = hundredPairs(0, 1);
    for (auto _ : state) {
        crosshairs->renderCrosshairsFromArray(points.data(), 100, zm::PixFrameTime::indefiniteTime());
        zm::runSynchronouslyOnContextQueue([] { glFinish(); });
    }
    countPixels(state);
}
BENCHMARK(BM_HundredCrosshairs)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVHundredMarkers(benchmark::State& state) {
    const std::vector<GLfloat> points = hundredPairs(0, 1);
    cv::Mat result(kHeight, kWidth, CV_8UC4);
    for (auto _ : state) {
        result.setTo(cv::Scalar::all(0));
        for (int point = 0; point < 100; ++point) {
            cv::drawMarker(result, cv::Point(static_cast<int>(points[point * 2] * kWidth), static_cast<int>(points[point * 2 + 1] * kHeight)),
                           cv::Scalar(0, 255, 0, 255), cv::MARKER_CROSS, 5);
        }
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVHundredMarkers)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PerlinNoise(benchmark::State& state) {
    renderBenchmark(state, zm::PixPerlinNoiseFilter::create());
}
BENCHMARK(BM_PerlinNoise)->Unit(benchmark::kMillisecond)->UseRealTime();

constexpr int kSide = 1024;

// Fifty seeds, the same on both sides.
std::vector<std::pair<int, int>> fiftySeeds() {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(0, kSide - 1);
    std::vector<std::pair<int, int>> seeds;
    for (int seed = 0; seed < 50; ++seed)
        seeds.push_back({coordinate(random), coordinate(random)});
    return seeds;
}

void BM_JFAVoronoiFiftySeeds(benchmark::State& state) {
    // A seed's colour: its position within its 256-pixel block, and the block in blue.
    std::vector<std::uint8_t> seedBytes(std::size_t(kSide) * kSide * 4, 0);
    for (const auto& [x, y] : fiftySeeds()) {
        std::uint8_t* texel = &seedBytes[(std::size_t(y) * kSide + x) * 4];
        texel[0] = static_cast<std::uint8_t>(x % 256);
        texel[1] = static_cast<std::uint8_t>(y % 256);
        texel[2] = static_cast<std::uint8_t>(x / 256 + (y / 256) * 8);
        texel[3] = 255;
    }
    auto voronoi = zm::PixJFAVoronoiFilter::create();
    voronoi->setSizeInPixels({kSide, kSide});
    auto seeds = zm::PixRawDataInput::create(seedBytes.data(), {kSide, kSide}, GL_RGBA);
    seeds->addTarget(voronoi);
    seeds->processData();
    for (auto _ : state) {
        zm::runSynchronouslyOnContextQueue([&] {
            voronoi->newFrameReadyAtTime(zm::PixFrameTime::indefiniteTime(), 0);
            glFinish();
        });
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_JFAVoronoiFiftySeeds)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVDistanceTransformLabels(benchmark::State& state) {
    cv::Mat free(kSide, kSide, CV_8UC1, cv::Scalar(255));
    for (const auto& [x, y] : fiftySeeds())
        free.at<std::uint8_t>(y, x) = 0;
    cv::Mat distances, labels;
    for (auto _ : state) {
        cv::distanceTransform(free, distances, labels, cv::DIST_L2, cv::DIST_MASK_5, cv::DIST_LABEL_PIXEL);
        benchmark::DoNotOptimize(labels.data);
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_OpenCVDistanceTransformLabels)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
