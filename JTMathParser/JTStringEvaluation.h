#pragma once

#include "JTMathParser/JTEvaluation.h"
#include "JTMathParser/JTNumber.h"
#include "platform/core/Result.h"

#include <optional>
#include <string_view>

namespace zm {

// Evaluating a text in one call, with the shared evaluator resolving its functions.

core::Result<JTNumber> numberByEvaluatingStringWithSubstitutions(std::string_view text,
                                                                 const JTSubstitutions* substitutions);

// The same, for callers that only want a value: a failure is logged ("error: ...") and gives
// nothing.
std::optional<JTNumber> numberByEvaluatingString(std::string_view text,
                                                 const JTSubstitutions* substitutions = nullptr);

} // namespace zm
