// links: framework opencv_imgproc
//
// The distortions and pixellation at 1280 x 720 under Mesa's software rasteriser, each render (the
// picture already uploaded; draw, then glFinish) beside OpenCV on the same pixels, in the same run:
// bulge, pinch, swirl and sphere beside remap with a map computed beforehand, pixellate beside a
// resize down (area) and up (nearest). Goal: no slower than OpenCV. Halftone and polka dot have no
// counterpart: their time alone.

#include "bench/PixFilterBench.h"
#include "framework/Source/PixBulgeDistortionFilter.h"
#include "framework/Source/PixHalftoneFilter.h"
#include "framework/Source/PixPinchDistortionFilter.h"
#include "framework/Source/PixPixellateFilter.h"
#include "framework/Source/PixPolkaDotFilter.h"
#include "framework/Source/PixSphereRefractionFilter.h"
#include "framework/Source/PixSwirlFilter.h"

#include <functional>

#include <opencv2/imgproc.hpp>

namespace {

using namespace pixbench;

constexpr double kAspect = double(kHeight) / kWidth;

struct Where {
    double x, y;
    bool inside = true; // false: transparent black
};

// Remaps the picture through the mapping of texture coordinates, computed once.
void remapBenchmark(benchmark::State& state, const std::function<Where(double, double)>& mapping) {
    cv::Mat mapX(kHeight, kWidth, CV_32FC1), mapY(kHeight, kWidth, CV_32FC1);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Where at = mapping((x + 0.5) / kWidth, (y + 0.5) / kHeight);
            mapX.at<float>(y, x) = at.inside ? static_cast<float>(at.x * kWidth - 0.5) : -10.0f;
            mapY.at<float>(y, x) = at.inside ? static_cast<float>(at.y * kHeight - 0.5) : -10.0f;
        }
    }
    const cv::Mat source = pictureMat();
    cv::Mat result;
    for (auto _ : state) {
        cv::remap(source, result, mapX, mapY, cv::INTER_LINEAR, cv::BORDER_CONSTANT);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}

double distanceFromCentre(double x, double y) {
    return std::hypot(x - 0.5, y * kAspect + 0.5 - 0.5 * kAspect - 0.5);
}

void BM_BulgeDistortion(benchmark::State& state) {
    renderBenchmark(state, zm::PixBulgeDistortionFilter::create());
}
BENCHMARK(BM_BulgeDistortion)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVRemapBulge(benchmark::State& state) {
    remapBenchmark(state, [](double x, double y) -> Where {
        const double d = distanceFromCentre(x, y);
        if (d >= 0.25)
            return {x, y};
        const double p = 1 - ((0.25 - d) / 0.25) * 0.5;
        return {0.5 + (x - 0.5) * p * p, 0.5 + (y - 0.5) * p * p};
    });
}
BENCHMARK(BM_OpenCVRemapBulge)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PinchDistortion(benchmark::State& state) {
    renderBenchmark(state, zm::PixPinchDistortionFilter::create());
}
BENCHMARK(BM_PinchDistortion)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVRemapPinch(benchmark::State& state) {
    remapBenchmark(state, [](double x, double y) -> Where {
        const double d = distanceFromCentre(x, y);
        const double p = 1 + ((0.5 - d) / 0.5) * 0.5;
        return {0.5 + (x - 0.5) * p, 0.5 + (y - 0.5) * p};
    });
}
BENCHMARK(BM_OpenCVRemapPinch)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Swirl(benchmark::State& state) {
    renderBenchmark(state, zm::PixSwirlFilter::create());
}
BENCHMARK(BM_Swirl)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVRemapSwirl(benchmark::State& state) {
    remapBenchmark(state, [](double x, double y) -> Where {
        const double d = std::hypot(x - 0.5, y - 0.5);
        if (d >= 0.5)
            return {x, y};
        const double p = (0.5 - d) / 0.5, theta = p * p * 8;
        return {0.5 + (x - 0.5) * std::cos(theta) - (y - 0.5) * std::sin(theta),
                0.5 + (x - 0.5) * std::sin(theta) + (y - 0.5) * std::cos(theta)};
    });
}
BENCHMARK(BM_OpenCVRemapSwirl)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SphereRefraction(benchmark::State& state) {
    renderBenchmark(state, zm::PixSphereRefractionFilter::create());
}
BENCHMARK(BM_SphereRefraction)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVRemapSphere(benchmark::State& state) {
    remapBenchmark(state, [](double x, double y) -> Where {
        const double d = distanceFromCentre(x, y);
        if (d > 0.25)
            return {0, 0, false};
        const double qx = x - 0.5, qy = y * kAspect + 0.5 - 0.5 * kAspect - 0.5, e = d / 0.25;
        const double nz0 = 0.25 * std::sqrt(1 - e * e), l = std::sqrt(qx * qx + qy * qy + nz0 * nz0);
        const double nx = qx / l, ny = qy / l, nz = nz0 / l, eta = 0.71, cosine = -nz;
        const double k = 1 - eta * eta * (1 - cosine * cosine);
        if (k < 0)
            return {0, 0, false};
        const double m = eta * cosine + std::sqrt(k);
        return {(-m * nx + 1) * 0.5, (-m * ny + 1) * 0.5};
    });
}
BENCHMARK(BM_OpenCVRemapSphere)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Pixellate(benchmark::State& state) {
    renderBenchmark(state, zm::PixPixellateFilter::create());
}
BENCHMARK(BM_Pixellate)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCVResizeDownAndUp(benchmark::State& state) {
    // Blocks of 0.05 of the width: 64 pixels, 20 x 12 of them (rounded up).
    const cv::Mat source = pictureMat();
    cv::Mat small, result;
    for (auto _ : state) {
        cv::resize(source, small, {20, 12}, 0, 0, cv::INTER_AREA);
        cv::resize(small, result, source.size(), 0, 0, cv::INTER_NEAREST);
        benchmark::DoNotOptimize(result.data);
    }
    countPixels(state);
}
BENCHMARK(BM_OpenCVResizeDownAndUp)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Halftone(benchmark::State& state) {
    renderBenchmark(state, zm::PixHalftoneFilter::create());
}
BENCHMARK(BM_Halftone)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PolkaDot(benchmark::State& state) {
    renderBenchmark(state, zm::PixPolkaDotFilter::create());
}
BENCHMARK(BM_PolkaDot)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
