#include "platform/gfx/RowBands.h"

#include <array>
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace gfx::detail {
namespace {

// Every band runs once, on one of the workers, also while other callers share bands at the same time
// (one of them gets the helpers, the others run theirs alone).
TEST(RowBands, EveryBandRunsOnceWhoeverCalls) {
    constexpr int kCallers = 4;
    constexpr int kBands = 300;
    std::array<std::array<std::atomic<int>, kBands>, kCallers> runs{};
    std::atomic<bool> workerOutOfRange{false};
    std::vector<std::thread> callers;
    for (int caller = 0; caller < kCallers; ++caller) {
        callers.emplace_back([&, caller] {
            for (int round = 0; round < 5; ++round)
                shareBands(kBands, [&](int worker, int band) {
                    if (worker < 0 || worker >= kBandWorkers)
                        workerOutOfRange = true;
                    ++runs[size_t(caller)][size_t(band)];
                });
        });
    }
    for (std::thread& caller : callers)
        caller.join();
    EXPECT_FALSE(workerOutOfRange);
    for (int caller = 0; caller < kCallers; ++caller)
        for (int band = 0; band < kBands; ++band)
            ASSERT_EQ(runs[size_t(caller)][size_t(band)], 5) << "caller " << caller << ", band " << band;
}

} // namespace
} // namespace gfx::detail
