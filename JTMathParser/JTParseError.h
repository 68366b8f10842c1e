#pragma once

#include "platform/core/Error.h"

#include <string>
#include <string_view>

namespace zm {

// The one error domain of the parser and the evaluator.
inline constexpr std::string_view JTParseErrorDomain = "com.zembrix.JTMathParser.ParseError";
// User-info keys of the unresolved-variable and unresolved-function errors.
inline constexpr std::string_view JTVariableNameKey = "com.zembrix.JTMathParser.VariableName";
inline constexpr std::string_view JTFunctionNameKey = "com.zembrix.JTMathParser.FunctionName";

enum JTErrorCode : int {
    JTErrorInvalidFormat = 1,
    JTErrorInvalidOperatorCharacter = 2,
    JTErrorInvalidIdentifier = 3,
    JTErrorEmptyVariableName = 4,
    JTErrorInvalidNumber = 5,
    JTErrorUnknownPrecedence = 6,
    JTErrorImbalancedParentheses = 7,
    JTErrorUnknownArity = 8,
    JTErrorBinaryMissingLeft = 9,
    JTErrorBinaryMissingRight = 10,
    JTErrorUnaryMissingLeft = 11,
    JTErrorUnaryMissingRight = 12,
    JTErrorMissingOperands = 13,
    JTErrorUnresolvedVariable = 14,
    JTErrorUnresolvedFunction = 15,
    JTErrorInvalidReturnType = 16,
    JTErrorArgumentCount = 17,
    JTErrorInvalidArgument = 18,
};

// An error of JTParseErrorDomain with `description` as its text.
core::Error makeParseError(JTErrorCode code, std::string description);

} // namespace zm
