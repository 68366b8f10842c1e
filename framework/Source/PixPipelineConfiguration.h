#pragma once

#include "framework/Source/PixFilterRegistry.h"
#include "platform/core/Result.h"
#include "platform/core/Value.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zm {

inline constexpr std::string_view kPixPipelineErrorDomain = "Pix.pipeline";
// What every refused configuration is reported with, before the reason.
inline constexpr std::string_view kPixPipelineParsingErrorMessage = "Sorry, a parsing error occurred.";

// One method call of a configured filter: a setter with its value, or an action without one.
struct PixPipelineAttribute {
    std::string selector;
    std::optional<PixPipelineValue> value;
};

// One filter of a configuration: its class name and its method calls, in their order.
struct PixPipelineFilterDescription {
    std::string filterName;
    std::vector<PixPipelineAttribute> attributes;
};

// Reads a pipeline configuration: a dictionary whose "Filters" array lists the filters in chain order,
// each a dictionary with its class name under "FilterName" and, under "Attributes", method names
// mapped to values. A value is a typed text, float(number), CGPoint(x, y) or NSString(text), or an
// array of them (a text in an array is dropped). A number is the leading number of its text, 0 when
// there is none. A text ends at its first comma.
//
// Every name must be one of the registry's and every value must fit its method; anything else refuses
// the whole configuration with an error of kPixPipelineErrorDomain whose description is the parsing
// error message and the reason. Nothing is made: reading needs no GL.
core::Result<std::vector<PixPipelineFilterDescription>>
readPixPipelineConfiguration(const core::Value& configuration, const PixFilterRegistry& registry);

// One typed text, or an array of them.
core::Result<PixPipelineValue> readPixPipelineValue(const core::Value& value);

} // namespace zm
