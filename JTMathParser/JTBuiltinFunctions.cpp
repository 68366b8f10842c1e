#include "JTMathParser/JTBuiltinFunctions.h"

#include "JTMathParser/JTExpression.h"
#include "JTMathParser/JTOperatorInfo.h"
#include "JTMathParser/JTParseError.h"
#include "platform/core/Random.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace zm {

namespace {

using Arguments = std::span<const JTExpressionPtr>;
using Result = core::Result<JTValue>;

constexpr double kPi = std::numbers::pi;

core::Error argumentCountError(std::string_view name, std::size_t count, bool atLeast) {
    std::string text(name);
    text += atLeast ? "Function requires at least " : "Function requires ";
    text += std::to_string(count) + (count == 1 ? " argument" : " arguments");
    return makeParseError(JTErrorArgumentCount, std::move(text));
}

// Evaluates exactly N arguments in order, stopping at the first that fails.
template <std::size_t N>
std::optional<core::Error> evaluateFixed(std::string_view name, Arguments arguments,
                                         const JTSubstitutions* substitutions, JTMathEvaluator& evaluator,
                                         std::array<JTNumber, N>& values) {
    if (arguments.size() != N) {
        return argumentCountError(name, N, false);
    }
    for (std::size_t i = 0; i < N; ++i) {
        core::Result<JTNumber> value = arguments[i]->evaluateWithSubstitutions(substitutions, &evaluator);
        if (!value) {
            return value.error();
        }
        values[i] = value.value();
    }
    return std::nullopt;
}

// Evaluates every argument in order, stopping at the first that fails.
core::Result<std::vector<JTNumber>> evaluateAll(Arguments arguments, const JTSubstitutions* substitutions,
                                                JTMathEvaluator& evaluator) {
    std::vector<JTNumber> values;
    values.reserve(arguments.size());
    for (const JTExpressionPtr& argument : arguments) {
        core::Result<JTNumber> value = argument->evaluateWithSubstitutions(substitutions, &evaluator);
        if (!value) {
            return value.error();
        }
        values.push_back(value.value());
    }
    return values;
}

// The families of fixed-count built-ins: a name and how to compute the answer.
template <std::size_t N, typename Answer> struct Fixed {
    std::string_view name;
    Answer (*compute)(const std::array<JTNumber, N>&);
};

template <std::size_t N, typename Answer> JTFunctionBlock makeFixed(const Fixed<N, Answer>* row) {
    return [row](Arguments arguments, const JTSubstitutions* substitutions,
                 JTMathEvaluator& evaluator) -> Result {
        std::array<JTNumber, N> values;
        if (std::optional<core::Error> error =
                evaluateFixed(row->name, arguments, substitutions, evaluator, values)) {
            return *error;
        }
        return JTValue(row->compute(values));
    };
}

using Values0 = std::array<JTNumber, 0>;
using Values1 = std::array<JTNumber, 1>;
using Values2 = std::array<JTNumber, 2>;

JTNumber real(double value) {
    return JTNumber::fromDouble(value);
}
JTNumber truth(bool value) {
    return JTNumber::fromBool(value);
}
JTNumber integer(std::int32_t value) {
    return JTNumber::fromInt32(value);
}

double a(const Values1& v) {
    return v[0].doubleValue();
}
double a(const Values2& v) {
    return v[0].doubleValue();
}
double b(const Values2& v) {
    return v[1].doubleValue();
}

// Shifts of 32 bits or more give what a 32-bit register gives for them (0 to the left, the
// sign to the right); a negative count shifts the other way.
std::int32_t shiftLeft(std::int32_t value, std::int32_t count);
std::int32_t shiftRight(std::int32_t value, std::int32_t count) {
    if (count < 0) {
        return count == INT32_MIN ? 0 : shiftLeft(value, -count);
    }
    return value >> std::min(count, 31);
}
std::int32_t shiftLeft(std::int32_t value, std::int32_t count) {
    if (count < 0) {
        return count == INT32_MIN ? (value < 0 ? -1 : 0) : shiftRight(value, -count);
    }
    if (count >= 32) {
        return 0;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << count);
}

// The real n-th root: an odd whole root of a negative number is negative (the cube root of
// -8 is -2), as the standard rewrite nthroot(pow(x, 3), 3) -> x assumes; an even one has none.
double nthRoot(double value, double n) {
    if (value < 0 && std::trunc(n) == n && std::fmod(n, 2) != 0) {
        return -std::pow(-value, 1 / n);
    }
    return std::pow(value, 1 / n);
}

const Fixed<0, JTNumber> kConstants[] = {
    {"phi", [](const Values0&) { return real(std::numbers::phi); }},
    {"pi", [](const Values0&) { return real(kPi); }},
    {"pi_2", [](const Values0&) { return real(kPi / 2); }},
    {"pi_4", [](const Values0&) { return real(kPi / 4); }},
    {"tau", [](const Values0&) { return real(2 * kPi); }},
    {"sqrt2", [](const Values0&) { return real(std::numbers::sqrt2); }},
    {"e", [](const Values0&) { return real(std::numbers::e); }},
    {"log2e", [](const Values0&) { return real(std::numbers::log2e); }},
    {"log10e", [](const Values0&) { return real(std::numbers::log10e); }},
    {"ln2", [](const Values0&) { return real(std::numbers::ln2); }},
    {"ln10", [](const Values0&) { return real(std::numbers::ln10); }},
};

const Fixed<1, JTNumber> kUnary[] = {
    {"negate", [](const Values1& v) { return real(-a(v)); }},
    {"factorial", [](const Values1& v) { return real(std::tgamma(a(v) + 1)); }},
    {"sqrt", [](const Values1& v) { return real(std::sqrt(a(v))); }},
    {"exp", [](const Values1& v) { return real(std::exp(a(v))); }},
    {"log", [](const Values1& v) { return real(std::log10(a(v))); }},
    {"ln", [](const Values1& v) { return real(std::log(a(v))); }},
    {"log2", [](const Values1& v) { return real(std::log2(a(v))); }},
    {"ceil", [](const Values1& v) { return real(std::ceil(a(v))); }},
    {"floor", [](const Values1& v) { return real(std::floor(a(v))); }},
    {"trunc", [](const Values1& v) { return real(std::trunc(a(v))); }},
    {"abs", [](const Values1& v) { return real(std::fabs(a(v))); }},
    {"dtor", [](const Values1& v) { return real(a(v) / 180 * kPi); }},
    {"rtod", [](const Values1& v) { return real(a(v) / kPi * 180); }},
    {"not", [](const Values1& v) { return integer(~v[0].intValue()); }},
    {"sin", [](const Values1& v) { return real(std::sin(a(v))); }},
    {"cos", [](const Values1& v) { return real(std::cos(a(v))); }},
    {"tan", [](const Values1& v) { return real(std::tan(a(v))); }},
    {"asin", [](const Values1& v) { return real(std::asin(a(v))); }},
    {"acos", [](const Values1& v) { return real(std::acos(a(v))); }},
    {"atan", [](const Values1& v) { return real(std::atan(a(v))); }},
    {"sinh", [](const Values1& v) { return real(std::sinh(a(v))); }},
    {"cosh", [](const Values1& v) { return real(std::cosh(a(v))); }},
    {"tanh", [](const Values1& v) { return real(std::tanh(a(v))); }},
    {"asinh", [](const Values1& v) { return real(std::asinh(a(v))); }},
    {"acosh", [](const Values1& v) { return real(std::acosh(a(v))); }},
    {"atanh", [](const Values1& v) { return real(std::atanh(a(v))); }},
    {"csc", [](const Values1& v) { return real(1 / std::sin(a(v))); }},
    {"sec", [](const Values1& v) { return real(1 / std::cos(a(v))); }},
    {"cotan", [](const Values1& v) { return real(1 / std::tan(a(v))); }},
    {"acsc", [](const Values1& v) { return real(std::asin(1 / a(v))); }},
    {"asec", [](const Values1& v) { return real(std::acos(1 / a(v))); }},
    {"acotan", [](const Values1& v) { return real(std::atan(1 / a(v))); }},
    {"csch", [](const Values1& v) { return real(1 / std::sinh(a(v))); }},
    {"sech", [](const Values1& v) { return real(1 / std::cosh(a(v))); }},
    {"cotanh", [](const Values1& v) { return real(1 / std::tanh(a(v))); }},
    {"acsch", [](const Values1& v) { return real(std::asinh(1 / a(v))); }},
    {"asech", [](const Values1& v) { return real(std::acosh(1 / a(v))); }},
    {"acotanh", [](const Values1& v) { return real(std::atanh(1 / a(v))); }},
    {"versin", [](const Values1& v) { return real(1 - std::cos(a(v))); }},
    {"vercosin", [](const Values1& v) { return real(1 + std::cos(a(v))); }},
    {"coversin", [](const Values1& v) { return real(1 - std::sin(a(v))); }},
    {"covercosin", [](const Values1& v) { return real(1 + std::sin(a(v))); }},
    {"haversin", [](const Values1& v) { return real((1 - std::cos(a(v))) * 0.5); }},
    {"havercosin", [](const Values1& v) { return real((1 + std::cos(a(v))) * 0.5); }},
    {"hacoversin", [](const Values1& v) { return real((1 - std::sin(a(v))) * 0.5); }},
    {"hacovercosin", [](const Values1& v) { return real((1 + std::sin(a(v))) * 0.5); }},
    {"exsec", [](const Values1& v) { return real(1 / std::cos(a(v)) - 1); }},
    {"excsc", [](const Values1& v) { return real(1 / std::sin(a(v)) - 1); }},
    {"crd", [](const Values1& v) { return real(2 * std::sin(a(v) * 0.5)); }},
    {"l_not", [](const Values1& v) { return truth(!v[0].boolValue()); }},
};

const Fixed<2, JTNumber> kBinary[] = {
    {"add", [](const Values2& v) { return real(a(v) + b(v)); }},
    {"subtract", [](const Values2& v) { return real(a(v) - b(v)); }},
    {"multiply", [](const Values2& v) { return real(a(v) * b(v)); }},
    {"divide", [](const Values2& v) { return real(a(v) / b(v)); }},
    {"mod", [](const Values2& v) { return real(std::fmod(a(v), b(v))); }},
    {"pow", [](const Values2& v) { return real(std::pow(a(v), b(v))); }},
    {"nthroot", [](const Values2& v) { return real(nthRoot(a(v), b(v))); }},
    {"and", [](const Values2& v) { return integer(v[0].intValue() & v[1].intValue()); }},
    {"or", [](const Values2& v) { return integer(v[0].intValue() | v[1].intValue()); }},
    {"xor", [](const Values2& v) { return integer(v[0].intValue() ^ v[1].intValue()); }},
    {"lshift", [](const Values2& v) { return integer(shiftLeft(v[0].intValue(), v[1].intValue())); }},
    {"rshift", [](const Values2& v) { return integer(shiftRight(v[0].intValue(), v[1].intValue())); }},
    {"l_and", [](const Values2& v) { return truth(v[0].boolValue() && v[1].boolValue()); }},
    {"l_or", [](const Values2& v) { return truth(v[0].boolValue() || v[1].boolValue()); }},
    {"l_eq", [](const Values2& v) { return truth(v[0].compare(v[1]) == JTComparisonResult::Same); }},
    {"l_neq", [](const Values2& v) { return truth(v[0].compare(v[1]) != JTComparisonResult::Same); }},
    {"l_lt", [](const Values2& v) { return truth(v[0].compare(v[1]) == JTComparisonResult::Ascending); }},
    {"l_gt", [](const Values2& v) { return truth(v[0].compare(v[1]) == JTComparisonResult::Descending); }},
    {"l_ltoe", [](const Values2& v) { return truth(v[0].compare(v[1]) != JTComparisonResult::Descending); }},
    {"l_gtoe", [](const Values2& v) { return truth(v[0].compare(v[1]) != JTComparisonResult::Ascending); }},
};

// The list functions take at least `minimum` arguments.
struct Listed {
    std::string_view name;
    std::size_t minimum;
    Result (*compute)(Arguments, const JTSubstitutions*, JTMathEvaluator&);
};

core::Result<double> sumOf(Arguments arguments, const JTSubstitutions* substitutions,
                           JTMathEvaluator& evaluator) {
    core::Result<std::vector<JTNumber>> values = evaluateAll(arguments, substitutions, evaluator);
    if (!values) {
        return values.error();
    }
    double sum = 0;
    for (const JTNumber& value : values.value()) {
        sum += value.doubleValue();
    }
    return sum;
}

core::Result<double> averageOf(Arguments arguments, const JTSubstitutions* substitutions,
                               JTMathEvaluator& evaluator) {
    core::Result<double> sum = sumOf(arguments, substitutions, evaluator);
    if (!sum) {
        return sum;
    }
    return sum.value() / static_cast<double>(arguments.size());
}

// The smallest (or largest) value; of equal values the first, as its own number.
Result extreme(Arguments arguments, const JTSubstitutions* substitutions, JTMathEvaluator& evaluator,
               JTComparisonResult better) {
    std::optional<JTNumber> best;
    for (const JTExpressionPtr& argument : arguments) {
        core::Result<JTNumber> value = argument->evaluateWithSubstitutions(substitutions, &evaluator);
        if (!value) {
            return value.error();
        }
        if (!best || value.value().compare(*best) == better) {
            best = value.value();
        }
    }
    return JTValue(*best);
}

// A uniform 32-bit draw, moved into the requested range in 64 bits.
Result random(Arguments arguments, const JTSubstitutions* substitutions, JTMathEvaluator& evaluator) {
    if (arguments.size() > 2) {
        return makeParseError(JTErrorArgumentCount, "random() may only have up to 2 arguments");
    }
    core::Result<std::vector<JTNumber>> bounds = evaluateAll(arguments, substitutions, evaluator);
    if (!bounds) {
        return bounds.error();
    }
    std::int64_t draw = core::randomU32();
    if (bounds.value().size() == 1) {
        // At least the bound: one addition lifts any draw below a positive bound above it.
        std::int64_t lower = bounds.value()[0].intValue();
        if (draw < lower) {
            draw += lower;
        }
    } else if (bounds.value().size() == 2) {
        std::int64_t lower = bounds.value()[0].intValue();
        std::int64_t upper = bounds.value()[1].intValue();
        if (upper <= lower) {
            return makeParseError(JTErrorInvalidArgument,
                                  "upper bound (" + std::to_string(upper) +
                                      ") of random() must be larger than lower bound (" +
                                      std::to_string(lower) + ")");
        }
        draw = lower + draw % (upper - lower + 1);
    }
    return JTValue(JTNumber::fromInt64(draw));
}

const Listed kListed[] = {
    {"sum", 1,
     [](Arguments arguments, const JTSubstitutions* substitutions, JTMathEvaluator& evaluator) -> Result {
         core::Result<double> sum = sumOf(arguments, substitutions, evaluator);
         return sum ? Result(real(sum.value())) : Result(sum.error());
     }},
    {"count", 1,
     [](Arguments arguments, const JTSubstitutions*, JTMathEvaluator&) -> Result {
         return JTValue(JTNumber::decimal(static_cast<std::int64_t>(arguments.size()), 0));
     }},
    {"average", 2,
     [](Arguments arguments, const JTSubstitutions* substitutions, JTMathEvaluator& evaluator) -> Result {
         core::Result<double> average = averageOf(arguments, substitutions, evaluator);
         return average ? Result(real(average.value())) : Result(average.error());
     }},
    {"min", 2,
     [](Arguments arguments, const JTSubstitutions* substitutions, JTMathEvaluator& evaluator) {
         return extreme(arguments, substitutions, evaluator, JTComparisonResult::Ascending);
     }},
    {"max", 2,
     [](Arguments arguments, const JTSubstitutions* substitutions, JTMathEvaluator& evaluator) {
         return extreme(arguments, substitutions, evaluator, JTComparisonResult::Descending);
     }},
    {"median", 2,
     [](Arguments arguments, const JTSubstitutions* substitutions, JTMathEvaluator& evaluator) -> Result {
         core::Result<std::vector<JTNumber>> values = evaluateAll(arguments, substitutions, evaluator);
         if (!values) {
             return values.error();
         }
         std::vector<JTNumber>& sorted = values.value();
         std::stable_sort(sorted.begin(), sorted.end(), [](const JTNumber& x, const JTNumber& y) {
             return x.compare(y) == JTComparisonResult::Ascending;
         });
         std::size_t middle = sorted.size() / 2;
         if (sorted.size() % 2 == 1) {
             return JTValue(sorted[middle]);
         }
         return JTValue(real((sorted[middle - 1].doubleValue() + sorted[middle].doubleValue()) / 2));
     }},
    {"stddev", 2,
     [](Arguments arguments, const JTSubstitutions* substitutions, JTMathEvaluator& evaluator) -> Result {
         core::Result<double> mean = averageOf(arguments, substitutions, evaluator);
         if (!mean) {
             return mean.error();
         }
         double squares = 0;
         for (const JTExpressionPtr& argument : arguments) {
             core::Result<JTNumber> value = argument->evaluateWithSubstitutions(substitutions, &evaluator);
             if (!value) {
                 return value.error();
             }
             double deviation = mean.value() - value.value().doubleValue();
             squares += deviation * deviation;
         }
         return JTValue(real(std::sqrt(squares / static_cast<double>(arguments.size()))));
     }},
};

JTFunctionBlock makeListed(const Listed* row) {
    return [row](Arguments arguments, const JTSubstitutions* substitutions,
                 JTMathEvaluator& evaluator) -> Result {
        if (arguments.size() < row->minimum) {
            return argumentCountError(row->name, row->minimum, true);
        }
        return row->compute(arguments, substitutions, evaluator);
    };
}

// x percent, of the left operand when it is the right operand of an addition or subtraction
// ("50 + percent(10)" is 55), else of 1.
Result percent(Arguments arguments, const JTSubstitutions* substitutions, JTMathEvaluator& evaluator) {
    if (arguments.size() != 1) {
        return argumentCountError("percent", 1, false);
    }
    double base = 1;
    JTExpressionPtr percentExpression = arguments[0]->parentExpression();
    JTExpressionPtr context = percentExpression ? percentExpression->parentExpression() : nullptr;
    if (context && context->expressionType() == JTExpressionKind::Function &&
        (context->function() == JTOperatorFunction::Add ||
         context->function() == JTOperatorFunction::Subtract) &&
        context->arguments().size() >= 2 && context->arguments()[1] == percentExpression) {
        core::Result<JTNumber> value =
            context->arguments()[0]->evaluateWithSubstitutions(substitutions, &evaluator);
        if (!value) {
            return value.error();
        }
        base = value.value().doubleValue();
    }
    core::Result<JTNumber> x = arguments[0]->evaluateWithSubstitutions(substitutions, &evaluator);
    if (!x) {
        return x.error();
    }
    return JTValue(real(base * (x.value().doubleValue() / 100)));
}

std::vector<JTBuiltinFunction> makeBuiltins() {
    std::vector<JTBuiltinFunction> builtins;
    for (const auto& row : kConstants) {
        builtins.push_back({row.name, makeFixed(&row)});
    }
    for (const auto& row : kUnary) {
        builtins.push_back({row.name, makeFixed(&row)});
    }
    for (const auto& row : kBinary) {
        builtins.push_back({row.name, makeFixed(&row)});
    }
    for (const auto& row : kListed) {
        builtins.push_back({row.name, makeListed(&row)});
    }
    builtins.push_back({"random", random});
    builtins.push_back({"percent", percent});
    return builtins;
}

} // namespace

std::span<const JTBuiltinFunction> builtinFunctions() {
    static const std::vector<JTBuiltinFunction> builtins = makeBuiltins();
    return builtins;
}

bool isBuiltinConstant(std::string_view name) {
    return std::ranges::any_of(kConstants, [name](const auto& row) {
        return std::ranges::equal(row.name, name, [](char a, char b) {
            return a == std::tolower(static_cast<unsigned char>(b));
        });
    });
}

} // namespace zm
