#pragma once

#include "longdivision/model/ExprLongDivision.h"
#include "platform/core/Result.h"

#include <string_view>

namespace zm {

// Reads a long division from the harness's command line: the text form "D)N[ PATTERN]", whose numbers
// may carry a decimal point ("12.5)7.5"), read as the numbers' dot positions. Anything the model
// refuses, or a point that a digit row cannot show (0.05: a zero right after the point), is an error
// that says why.
core::Result<std::shared_ptr<ExprLongDivision>> readLongDivisionArgument(std::string_view text);

} // namespace zm
