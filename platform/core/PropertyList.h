#pragma once

#include "platform/core/Result.h"
#include "platform/core/Value.h"

#include <string>
#include <string_view>

namespace core {

inline constexpr std::string_view kPropertyListErrorDomain = "core.plist";

// XML property lists: <dict>, <array>, <string>, <integer>, <real>, <true/>, <false/>, <date>
// (ISO 8601, UTC) and <data> (base64). A document that is not well-formed, an unknown element, a
// malformed number, date or data, or nesting deeper than 512 levels is an error naming the problem.
Result<Value> parsePropertyList(std::string_view xml);

// The XML text of a value. Null has no property-list form: a null anywhere is an error.
Result<std::string> toPropertyList(const Value& value);

} // namespace core
