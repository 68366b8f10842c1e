#pragma once

#include "JTMathParser/JTEvaluation.h"

#include <span>
#include <string_view>

namespace zm {

struct JTBuiltinFunction {
    std::string_view name;
    JTFunctionBlock function;
};

// The functions every evaluator knows without registration: the arithmetic behind the
// operators, elementary and trigonometric functions, statistics over argument lists, bit
// operations, comparisons and logic, and named constants. Each evaluates its own arguments
// (stopping at the first that fails) and answers a number of a fixed kind: doubles for
// arithmetic, 32-bit integers for bit operations, truth values for comparisons and logic, a
// 64-bit integer for "random", a decimal for "count", and the argument's own number for
// "min", "max" and an odd "median". Argument-count errors name the function as
// "<name>Function".
std::span<const JTBuiltinFunction> builtinFunctions();

// Whether a built-in names a constant ("pi", "e"), which takes no arguments, in any case.
bool isBuiltinConstant(std::string_view name);

} // namespace zm
