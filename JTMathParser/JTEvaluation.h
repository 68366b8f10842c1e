#pragma once

#include "JTMathParser/JTNumber.h"
#include "platform/core/Result.h"

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace zm {

class JTExpression;
class JTMathEvaluator;

// What a function answers and what a variable may stand for: an expression (evaluated
// further), a number (taken as it is) or a text (evaluated as an expression). A null
// expression is none of these: a function answering it fails with error 16, a variable bound
// to it with error 14.
using JTValue = std::variant<std::shared_ptr<const JTExpression>, JTNumber, std::string>;

// Variable name (without "$") to value.
using JTSubstitutions = std::map<std::string, JTValue, std::less<>>;

// A function of the evaluator: it receives its argument expressions unevaluated, the
// substitutions (or null), and the evaluator that is evaluating.
using JTFunctionBlock =
    std::function<core::Result<JTValue>(std::span<const std::shared_ptr<const JTExpression>> arguments,
                                        const JTSubstitutions* substitutions, JTMathEvaluator& evaluator)>;

// Asked for a function name that the evaluator does not know; answers an empty block when it
// does not know it either.
using JTFunctionResolverBlock = std::function<JTFunctionBlock(std::string_view name)>;

} // namespace zm
