#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zm {

// The result of comparing two numbers, in the order -1, 0, 1.
enum class JTComparisonResult : int { Ascending = -1, Same = 0, Descending = 1 };

// A number as the parser and the evaluator pass it around. It remembers the kind it was
// made as, because callers see that kind: parsed numbers are exact decimals, arithmetic
// answers doubles, bit operations 32-bit integers, comparisons truth values, and so on.
//
// Every conversion has a defined result: integer conversions drop the fraction and
// saturate at the limits of the target type, and NaN converts to 0. Comparison is a total
// order (NaN is equal to NaN and below every other number), so sorting never misbehaves.
class JTNumber {
public:
    enum class Kind : std::uint8_t { Decimal, Double, Int32, Int64, Bool };

    // A decimal keeps at most this many significant digits; further digits are dropped.
    static constexpr int kMaxDecimalDigits = 38;
    // Decimal exponents (of the integer mantissa) outside this range overflow to NaN or
    // underflow towards zero.
    static constexpr int kMinDecimalExponent = -128;
    static constexpr int kMaxDecimalExponent = 127;

    JTNumber()
        : JTNumber(Kind::Int32, 0.0, 0) {}

    static JTNumber fromDouble(double value) { return JTNumber(Kind::Double, value, 0); }
    static JTNumber fromInt32(std::int32_t value) { return JTNumber(Kind::Int32, value, value); }
    static JTNumber fromInt64(std::int64_t value);
    static JTNumber fromBool(bool value) { return JTNumber(Kind::Bool, value ? 1.0 : 0.0, value ? 1 : 0); }
    // The decimal mantissa × 10^exponent.
    static JTNumber decimal(std::int64_t mantissa, int exponent);
    // Reads decimal text: digits, an optional "." with digits, an optional exponent
    // ("e" or "E", a sign, digits). Answers nothing for any other text.
    static std::optional<JTNumber> decimalFromString(std::string_view text);
    static JTNumber decimalNotANumber();

    Kind kind() const { return m_kind; }
    bool isNaN() const;
    // Whether the number has no fraction part. A decimal too small to keep, which reads as
    // zero, still has one; NaN and infinities are not whole.
    bool isWhole() const;

    double doubleValue() const { return m_double; }
    std::int32_t intValue() const;
    std::int64_t longLongValue() const;
    bool boolValue() const;

    JTComparisonResult compare(const JTNumber& other) const;
    bool isEqualToNumber(const JTNumber& other) const { return compare(other) == JTComparisonResult::Same; }
    friend bool operator==(const JTNumber& a, const JTNumber& b) { return a.isEqualToNumber(b); }

    // Decimals in plain positional notation ("0.0015", "100000"), doubles in their
    // shortest round-trip form ("0.1", "1e+20"), integers and truth values as integers.
    std::string description() const;

private:
    JTNumber(Kind kind, double value, std::int64_t integer)
        : m_kind(kind)
        , m_double(value)
        , m_integer(integer) {}

    // Only the decimal NaN has a NaN double: every other decimal is finite.
    bool isDecimalNaN() const { return m_kind == Kind::Decimal && isNaN(); }
    static JTNumber makeDecimal(bool negative, std::string digits, long exponent);
    JTComparisonResult compareDecimals(const JTNumber& other) const;

    Kind m_kind;
    double m_double;
    std::int64_t m_integer; // Int32, Int64 and Bool kinds
    // Decimal kind: value = (m_negative ? -1 : 1) × m_digits × 10^m_exponent, the digits
    // without leading or trailing zeros ("" for zero and NaN).
    bool m_negative = false;
    std::string m_digits;
    int m_exponent = 0;
};

} // namespace zm
