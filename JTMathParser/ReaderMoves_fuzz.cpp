// Reads fuzzer text with the text reader and plays fuzzer-chosen moves on the tree it gives: the
// input's first line is the text, the rest chooses the moves (see model/testing/StepFuzzer.h).

#include "JTMathParser/ExprTextReader.h"
#include "model/testing/StepFuzzer.h"

#include <algorithm>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto* end = std::find(data, data + size, static_cast<uint8_t>('\n'));
    const std::string_view text(reinterpret_cast<const char*>(data), static_cast<size_t>(end - data));
    const size_t rest = end == data + size ? 0 : static_cast<size_t>(data + size - end - 1);
    zm::testing::Choices choices(end == data + size ? nullptr : end + 1, rest);
    zm::testing::playFuzzedMoves(zm::ExprTextReader::parseString(text), choices);
    return 0;
}
