// Plays fuzzer-chosen moves on fuzzer-built expression trees; see testing/StepFuzzer.h.

#include "model/testing/StepFuzzer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zm::testing::playFuzzedSteps(data, size);
    return 0;
}
