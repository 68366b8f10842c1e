#pragma once

#include "platform/core/Result.h"
#include "platform/core/Value.h"

#include <string>
#include <string_view>

namespace core {

inline constexpr std::string_view kJsonErrorDomain = "core.json";

// Any JSON value, objects keeping the order of their members (a repeated member keeps its first place
// and its last value). Integers that fit 64 bits become integers, other numbers reals. Nesting deeper
// than 512 levels is refused rather than risking the stack.
Result<Value> parseJson(std::string_view text);

enum class JsonStyle { Compact, Indented };

// Deterministic text: members in order, reals as the shortest text that reads back ("0.1", "1.0"),
// data as base64 text, dates as ISO 8601 text, non-finite reals as null, text that is not UTF-8 with
// U+FFFD in place of the broken bytes.
std::string toJson(const Value& value, JsonStyle style = JsonStyle::Compact);

} // namespace core
