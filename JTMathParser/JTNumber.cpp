#include "JTMathParser/JTNumber.h"

#include "platform/core/NumberText.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <limits>

namespace zm {

namespace {

// Drops the fraction and clamps to the range of Int; NaN gives 0.
template <typename Int> Int saturatingFromDouble(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    // The bounds as doubles: the lower is exact, the upper rounds up to a power of two, so
    // anything at or above it is out of range.
    constexpr double lower = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double upper = -lower;
    if (value <= lower) {
        return std::numeric_limits<Int>::min();
    }
    if (value >= upper) {
        return std::numeric_limits<Int>::max();
    }
    return static_cast<Int>(value);
}

std::int32_t saturatingInt32(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Orders NaN below everything and equal to itself; compares the rest exactly enough for
// every 64-bit integer (long double holds them without rounding).
JTComparisonResult compareValues(long double a, long double b, bool aNaN, bool bNaN) {
    if (aNaN || bNaN) {
        if (aNaN && bNaN) {
            return JTComparisonResult::Same;
        }
        return aNaN ? JTComparisonResult::Ascending : JTComparisonResult::Descending;
    }
    if (a < b) {
        return JTComparisonResult::Ascending;
    }
    if (a > b) {
        return JTComparisonResult::Descending;
    }
    return JTComparisonResult::Same;
}

} // namespace

JTNumber JTNumber::fromInt64(std::int64_t value) {
    return JTNumber(Kind::Int64, static_cast<double>(value), value);
}

JTNumber JTNumber::decimalNotANumber() {
    return JTNumber(Kind::Decimal, std::numeric_limits<double>::quiet_NaN(), 0);
}

JTNumber JTNumber::decimal(std::int64_t mantissa, int exponent) {
    // The magnitude as unsigned, so that the most negative mantissa has one too.
    std::uint64_t magnitude = mantissa < 0 ? 0 - static_cast<std::uint64_t>(mantissa) : mantissa;
    return makeDecimal(mantissa < 0, std::to_string(magnitude), exponent);
}

std::optional<JTNumber> JTNumber::decimalFromString(std::string_view text) {
    std::size_t i = 0;
    std::string digits;
    while (i < text.size() && isDigit(text[i])) {
        digits += text[i++];
    }
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            digits += text[i++];
            ++fractionDigits;
        }
    }
    if (digits.empty()) {
        return std::nullopt;
    }
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        if (i == text.size()) {
            return std::nullopt;
        }
        // Any exponent beyond this bound overflows or underflows whatever the digits.
        constexpr long exponentBound = 100000;
        while (i < text.size() && isDigit(text[i])) {
            exponent = std::min(exponent * 10 + (text[i++] - '0'), exponentBound);
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return makeDecimal(false, std::move(digits), exponent - static_cast<long>(fractionDigits));
}

JTNumber JTNumber::makeDecimal(bool negative, std::string digits, long exponent) {
    std::size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        return JTNumber(Kind::Decimal, 0.0, 0);
    }
    digits.erase(0, firstNonZero);
    std::size_t lastNonZero = digits.find_last_not_of('0');
    exponent += static_cast<long>(digits.size() - lastNonZero - 1);
    digits.erase(lastNonZero + 1);

    if (digits.size() > kMaxDecimalDigits) {
        exponent += static_cast<long>(digits.size() - kMaxDecimalDigits);
        digits.erase(kMaxDecimalDigits);
    }
    // A large exponent is brought into range by moving zeros into the mantissa; a small one
    // by dropping the mantissa's last digits.
    while (exponent > kMaxDecimalExponent && digits.size() < kMaxDecimalDigits) {
        digits += '0';
        --exponent;
    }
    if (exponent > kMaxDecimalExponent) {
        return decimalNotANumber();
    }
    if (exponent < kMinDecimalExponent) {
        long excess = kMinDecimalExponent - exponent;
        if (excess >= static_cast<long>(digits.size())) {
            // Zero, but remembered as a fraction: it is not the whole number 0.
            JTNumber underflow(Kind::Decimal, 0.0, 0);
            underflow.m_exponent = kMinDecimalExponent;
            return underflow;
        }
        digits.erase(digits.size() - static_cast<std::size_t>(excess));
        exponent = kMinDecimalExponent;
        return makeDecimal(negative, std::move(digits), exponent);
    }

    std::string scientific = digits + "e" + std::to_string(exponent);
    double value = 0.0;
    auto result = std::from_chars(scientific.data(), scientific.data() + scientific.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Only possible for tiny magnitudes here: the largest decimal is far below DBL_MAX.
        value = 0.0;
    }
    JTNumber number(Kind::Decimal, negative ? -value : value, 0);
    number.m_negative = negative;
    number.m_digits = std::move(digits);
    number.m_exponent = static_cast<int>(exponent);
    return number;
}

bool JTNumber::isWhole() const {
    if (m_kind == Kind::Decimal) {
        return !isNaN() && m_exponent >= 0;
    }
    return std::isfinite(m_double) && std::trunc(m_double) == m_double;
}

bool JTNumber::isNaN() const {
    return std::isnan(m_double);
}

std::int32_t JTNumber::intValue() const {
    switch (m_kind) {
    case Kind::Int32:
    case Kind::Int64:
    case Kind::Bool:
        return saturatingInt32(m_integer);
    case Kind::Decimal:
    case Kind::Double:
        break;
    }
    return saturatingFromDouble<std::int32_t>(m_double);
}

std::int64_t JTNumber::longLongValue() const {
    switch (m_kind) {
    case Kind::Int32:
    case Kind::Int64:
    case Kind::Bool:
        return m_integer;
    case Kind::Decimal:
    case Kind::Double:
        break;
    }
    return saturatingFromDouble<std::int64_t>(m_double);
}

bool JTNumber::boolValue() const {
    switch (m_kind) {
    case Kind::Int32:
    case Kind::Int64:
    case Kind::Bool:
        return m_integer != 0;
    case Kind::Decimal:
        return !m_digits.empty();
    case Kind::Double:
        break;
    }
    return m_double != 0.0 && !std::isnan(m_double);
}

JTComparisonResult JTNumber::compareDecimals(const JTNumber& other) const {
    assert(m_kind == Kind::Decimal && other.m_kind == Kind::Decimal);
    bool zero = m_digits.empty();
    bool otherZero = other.m_digits.empty();
    int sign = zero ? 0 : (m_negative ? -1 : 1);
    int otherSign = otherZero ? 0 : (other.m_negative ? -1 : 1);
    if (sign != otherSign) {
        return sign < otherSign ? JTComparisonResult::Ascending : JTComparisonResult::Descending;
    }
    if (sign == 0) {
        return JTComparisonResult::Same;
    }
    // Same sign: compare magnitudes by their order of magnitude, then digit by digit.
    long magnitude = static_cast<long>(m_digits.size()) + m_exponent;
    long otherMagnitude = static_cast<long>(other.m_digits.size()) + other.m_exponent;
    int order = 0;
    if (magnitude != otherMagnitude) {
        order = magnitude < otherMagnitude ? -1 : 1;
    } else {
        int digits = m_digits.compare(other.m_digits);
        order = digits < 0 ? -1 : (digits > 0 ? 1 : 0);
    }
    order *= sign;
    return static_cast<JTComparisonResult>(order);
}

JTComparisonResult JTNumber::compare(const JTNumber& other) const {
    if (m_kind == Kind::Decimal && other.m_kind == Kind::Decimal && !isDecimalNaN() &&
        !other.isDecimalNaN()) {
        return compareDecimals(other);
    }
    auto exact = [](const JTNumber& n) -> long double {
        switch (n.m_kind) {
        case Kind::Int32:
        case Kind::Int64:
        case Kind::Bool:
            return static_cast<long double>(n.m_integer);
        case Kind::Decimal:
        case Kind::Double:
            break;
        }
        return n.m_double;
    };
    return compareValues(exact(*this), exact(other), isNaN(), other.isNaN());
}

std::string JTNumber::description() const {
    switch (m_kind) {
    case Kind::Int32:
    case Kind::Int64:
    case Kind::Bool:
        return std::to_string(m_integer);
    case Kind::Double:
        return core::numberText(m_double);
    case Kind::Decimal:
        break;
    }
    if (isDecimalNaN()) {
        return "NaN";
    }
    if (m_digits.empty()) {
        return "0";
    }
    std::string text = m_negative ? "-" : "";
    long pointPosition = static_cast<long>(m_digits.size()) + m_exponent;
    if (pointPosition <= 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-pointPosition), '0');
        text += m_digits;
    } else if (m_exponent >= 0) {
        text += m_digits;
        text.append(static_cast<std::size_t>(m_exponent), '0');
    } else {
        text.append(m_digits, 0, static_cast<std::size_t>(pointPosition));
        text += '.';
        text.append(m_digits, static_cast<std::size_t>(pointPosition));
    }
    return text;
}

} // namespace zm
