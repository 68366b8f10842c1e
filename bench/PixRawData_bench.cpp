// links: framework_ui framework
//
// Frames through the image framework's raw ends at 1280 x 720 under Mesa's software rasteriser: bytes
// in memory uploaded by a raw data input and read back by a raw data output, and the same frames shown
// by a display view (drawn, read back and turned into the picture the view draws). Frames per second;
// nothing to compare against.

#include "framework/Source/PixContext.h"
#include "framework/Source/PixRawDataInput.h"
#include "framework/Source/PixRawDataOutput.h"
#include "framework/UI/PixView.h"

#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

// Two frames of BGRA bytes, alternated so that every upload carries new pixels.
const std::vector<std::uint8_t>& frame(int index) {
    static const std::vector<std::vector<std::uint8_t>> frames = [] {
        std::vector<std::vector<std::uint8_t>> made(2, std::vector<std::uint8_t>(std::size_t(kWidth) * kHeight * 4));
        for (std::size_t at = 0; at < made[0].size(); ++at) {
            made[0][at] = static_cast<std::uint8_t>(at * 7);
            made[1][at] = static_cast<std::uint8_t>(at * 13);
        }
        return made;
    }();
    return frames[static_cast<std::size_t>(index) & 1];
}

void BM_RawInputToRawOutput(benchmark::State& state) {
    auto input = zm::PixRawDataInput::create(frame(0).data(), {kWidth, kHeight});
    auto output = zm::PixRawDataOutput::create({kWidth, kHeight}, true);
    input->addTarget(output);
    int index = 0;
    for (auto _ : state) {
        input->updateDataFromBytes(frame(++index).data(), {kWidth, kHeight});
        input->processData();
        benchmark::DoNotOptimize(output->rawBytesForImage());
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RawInputToRawOutput)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DisplayViewPresent(benchmark::State& state) {
    auto input = zm::PixRawDataInput::create(frame(0).data(), {kWidth, kHeight});
    auto view = zm::PixView::create({0, 0, kWidth, kHeight});
    input->addTarget(view);
    int index = 0;
    for (auto _ : state) {
        input->updateDataFromBytes(frame(++index).data(), {kWidth, kHeight});
        input->processData();
        zm::runSynchronouslyOnContextQueue([] {}); // drawn, read back and handed to the main queue
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DisplayViewPresent)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
