#pragma once

#include <cstdint>

namespace zm {

// How a new expression joins an existing one. Values outside the three arrive from callers that
// carry the type as a plain integer; operations answer nothing for them.
enum ArithmeticType : int32_t {
    ArithmeticTypeAdd = 0,
    ArithmeticTypeMultiply = 1,
    ArithmeticTypeDivide = 2,
};

} // namespace zm
