#include "JTMathParser/JTBuiltinFunctions.h"
#include "JTMathParser/JTMathEvaluator.h"
#include "JTMathParser/JTParseError.h"
#include "JTMathParser/JTStringEvaluation.h"
#include "platform/core/Random.h"

#include <cmath>
#include <limits>
#include <set>
#include <string>

#include <gtest/gtest.h>

namespace zm {
namespace {

using Kind = JTNumber::Kind;

constexpr double kPi = 3.141592653589793;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct ValueCase {
    const char* input;
    double value;
    Kind kind = Kind::Double;
};

// One row per built-in family and per edge case worth pinning down.
const ValueCase kValueCases[] = {
    // Arithmetic behind the operators.
    {"1+2*3", 7},
    {"7 - 10", -3},
    {"1/0", kInf},
    {"7 % 4", 3},
    {"-7 % 3", -1},
    {"7 % -3", 1},
    {"modulo(7,4)", 3},
    {"2^10", 1024},
    {"5!", 120},
    {"0.5!", 0.886226925452758},
    {"90\u00B0", 1.5707963267948966},
    {"-2^2", -4},
    // Elementary functions.
    {"sqrt(16)", 4},
    {"nthroot(27,3)", 3},
    {"nthroot(-27,3)", -3},
    {"nthroot(-32,5)", -2},
    {"nthroot(16,4)", 2},
    {"nthroot(-16,4)", kNaN},
    {"nthroot(-8,1.5)", kNaN},
    {"nthroot(pow(-2,3),3)", -2},
    {"exp(0)", 1},
    {"log(1000)", 3},
    {"ln(e)", 1},
    {"log2(8)", 3},
    {"ceil(1.2)", 2},
    {"floor(-1.2)", -2},
    {"trunc(2.5)", 2},
    {"trunc(-2.5)", -2},
    {"trunc(-0.5)", 0},
    {"floor(-2.5)", -3},
    {"abs(-2.5)", 2.5},
    {"rtod(pi)", 180},
    {"dtor(180)", kPi},
    // Names in any case, Greek letters, constants and their aliases.
    {"SIN(0)", 0},
    {"Sin(0)", 0},
    {"\u03C0", kPi},
    {"tau_2", kPi},
    {"\u03C4", 2 * kPi},
    {"\u03D5", 1.618033988749895},
    {"pi_2 + pi_4", 3 * kPi / 4},
    {"sqrt2", 1.4142135623730951},
    {"log2e * ln2", 1},
    {"log10e * ln10", 1},
    // Trigonometry and its relatives.
    {"cos(0)", 1},
    {"tan(pi_4)", 0.9999999999999999},
    {"asin(1)", kPi / 2},
    {"acos(1)", 0},
    {"atan(1)", kPi / 4},
    {"sinh(0) + cosh(0) + tanh(0)", 1},
    {"asinh(0) + acosh(1) + atanh(0)", 0},
    {"csc(pi_2) + sec(0)", 2},
    {"cotan(pi_4)", 1.0000000000000002},
    {"acsc(2)", 0.5235987755982989},
    {"asec(1) + acotan(1)", kPi / 4},
    {"sech(0)", 1},
    {"csch(1) * sinh(1)", 1},
    {"cotanh(1) * tanh(1)", 1},
    {"acsch(1)", 0.881373587019543},
    {"asech(1) + acotanh(2)", 0.5493061443340549},
    {"versin(0) + vers(0) + ver(0)", 0},
    {"vercosin(0) + vercos(0)", 4},
    {"coversin(0) + cvs(0) + covercosin(0)", 3},
    {"haversin(pi) + havercosin(0)", 2},
    {"hacoversin(0) + hacovercosin(0)", 1},
    {"exsec(0) + excsc(pi_2)", 0},
    {"crd(pi) + chord(pi)", 4},
    // Lists.
    {"sum(1,2,3.5)", 6.5},
    {"avg(2,4)", 3},
    {"mean(2,4)", 3},
    {"median(4,1,3,2)", 2.5},
    {"median(3,1,2)", 2, Kind::Decimal},
    {"stddev(2,4,4,4,5,5,7,9)", 2},
    {"min(2,1,1)", 1, Kind::Decimal},
    {"max(2,3,1)", 3, Kind::Decimal},
    {"count(1,$x)", 2, Kind::Decimal},
    // Bit operations on 32-bit integers.
    {"7 & 3", 3, Kind::Int32},
    {"2.9 & 3", 2, Kind::Int32},
    {"5 | 2", 7, Kind::Int32},
    {"5 ** 3", 6, Kind::Int32},
    {"~0", -1, Kind::Int32},
    {"1 << 4", 16, Kind::Int32},
    {"-8 >> 1", -4, Kind::Int32},
    {"1 << 31", -2147483648.0, Kind::Int32},
    {"1 << 32", 0, Kind::Int32},
    {"-1 >> 40", -1, Kind::Int32},
    {"8 << -1", 4, Kind::Int32},
    {"99999999999 & 1", 1, Kind::Int32},
    // Comparisons and logic.
    {"1 == 1", 1, Kind::Bool},
    {"1 != 1", 0, Kind::Bool},
    {"1 < 2", 1, Kind::Bool},
    {"1 > 2", 0, Kind::Bool},
    {"2 <= 2", 1, Kind::Bool},
    {"1 >= 2", 0, Kind::Bool},
    {"1 && 0", 0, Kind::Bool},
    {"1 || 0", 1, Kind::Bool},
    {"!0", 1, Kind::Bool},
    // Percent of the left operand of + and -, else of 1.
    {"50 + percent(10)", 55},
    {"50 - percent(10)", 45},
    {"percent(10)", 0.1},
    {"2 * percent(10)", 0.2},
    {"percent(10) + 50", 50.1},
};

TEST(JTBuiltinFunctions, EvaluateToTheirValueAndKind) {
    for (const ValueCase& c : kValueCases) {
        SCOPED_TRACE(c.input);
        core::Result<JTNumber> value = numberByEvaluatingStringWithSubstitutions(c.input, nullptr);
        ASSERT_TRUE(value) << value.error().description;
        if (std::isnan(c.value)) {
            EXPECT_TRUE(std::isnan(value.value().doubleValue()));
        } else if (std::isinf(c.value)) {
            EXPECT_EQ(value.value().doubleValue(), c.value);
        } else {
            EXPECT_NEAR(value.value().doubleValue(), c.value, 1e-15 * std::max(1.0, std::fabs(c.value)));
        }
        EXPECT_EQ(value.value().kind(), c.kind);
    }
}

struct ErrorCase {
    const char* input;
    int code;
    const char* description;
};

const ErrorCase kErrorCases[] = {
    {"add(1,2,3)", JTErrorArgumentCount, "addFunction requires 2 arguments"},
    {"sin(1,2)", JTErrorArgumentCount, "sinFunction requires 1 argument"},
    {"pi(1)", JTErrorArgumentCount, "piFunction requires 0 arguments"},
    {"percent()", JTErrorArgumentCount, "percentFunction requires 1 argument"},
    {"sum()", JTErrorArgumentCount, "sumFunction requires at least 1 argument"},
    {"count()", JTErrorArgumentCount, "countFunction requires at least 1 argument"},
    {"average(4)", JTErrorArgumentCount, "averageFunction requires at least 2 arguments"},
    {"random(1,2,3)", JTErrorArgumentCount, "random() may only have up to 2 arguments"},
    {"random(1,1)", JTErrorInvalidArgument,
     "upper bound (1) of random() must be larger than lower bound (1)"},
    {"1 == $x", JTErrorUnresolvedVariable, "unable to resolve variable: $x"},
    {"max(1, $y, 2)", JTErrorUnresolvedVariable, "unable to resolve variable: $y"},
    {"1 + unknownfn(1)", JTErrorUnresolvedFunction, "unable to resolve function: unknownfn"},
    {"1 +", JTErrorBinaryMissingRight, "no right operand to binary +"},
};

TEST(JTBuiltinFunctions, FailWithTheirErrors) {
    for (const ErrorCase& c : kErrorCases) {
        SCOPED_TRACE(c.input);
        core::Result<JTNumber> value = numberByEvaluatingStringWithSubstitutions(c.input, nullptr);
        ASSERT_FALSE(value) << value.value().description();
        EXPECT_EQ(value.error().domain, JTParseErrorDomain);
        EXPECT_EQ(value.error().code, c.code);
        EXPECT_EQ(value.error().description, c.description);
    }
}

TEST(JTBuiltinFunctions, RandomStaysInItsRange) {
    core::ScopedRandomSource draws(core::makeScriptedRandom({0, 5, 4294967295u, 123456789}));
    for (int i = 0; i < 4; ++i) {
        JTNumber roll = *numberByEvaluatingString("random(1,6)");
        EXPECT_EQ(roll.kind(), Kind::Int64);
        EXPECT_GE(roll.longLongValue(), 1);
        EXPECT_LE(roll.longLongValue(), 6);
    }
    EXPECT_EQ(numberByEvaluatingString("random(-2147483648, 2147483647)")->longLongValue(), -2147483648);
}

TEST(JTBuiltinFunctions, RandomWithOneBoundIsAtLeastIt) {
    core::ScopedRandomSource draws(core::makeScriptedRandom({2, 7, 9, 0}));
    EXPECT_EQ(numberByEvaluatingString("random(5)")->longLongValue(), 2 + 5);
    EXPECT_EQ(numberByEvaluatingString("random(5)")->longLongValue(), 7);
    // A negative bound leaves the draw as it is (it never loops).
    EXPECT_EQ(numberByEvaluatingString("random(-5)")->longLongValue(), 9);
    EXPECT_EQ(numberByEvaluatingString("random()")->longLongValue(), 0);
}

// The 89 of the catalogue and "trunc", which truncates towards zero rather than being floor's alias.
TEST(JTBuiltinFunctions, NinetyDistinctNames) {
    std::set<std::string_view> names;
    for (const JTBuiltinFunction& builtin : builtinFunctions()) {
        names.insert(builtin.name);
        EXPECT_TRUE(builtin.function) << builtin.name;
    }
    EXPECT_EQ(names.size(), 90u);
    EXPECT_EQ(builtinFunctions().size(), 90u);
}

} // namespace
} // namespace zm
