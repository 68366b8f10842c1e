// The fuzz target's body over a bounded, seeded set of inputs, so that every test run exercises it.

#include "model/testing/StepFuzzer.h"
#include "platform/core/Random.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(StepFuzzer, RandomInputsNeverBreakATree) {
    auto random = core::makeSeededRandom(31337);
    std::vector<uint8_t> input;
    for (int run = 0; run < 600; ++run) {
        input.resize(16 + random->next() % 240);
        for (uint8_t& byte : input)
            byte = static_cast<uint8_t>(random->next());
        testing::playFuzzedSteps(input.data(), input.size());
    }
    testing::playFuzzedSteps(nullptr, 0);
}

} // namespace
} // namespace zm
