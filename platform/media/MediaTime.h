#pragma once

#include <cstdint>
#include <string>

namespace media {

// A time on a movie's or a camera's timeline: a whole number of ticks (value) of a given length
// (1 / timescale seconds), so that frame times of a 30 fps movie stay exact (1/30 s is 1 tick of
// timescale 30). Besides numbers it has four special values: invalid (no time at all: what a new time
// is), indefinite (a still image has no time of its own), and positive and negative infinity.
//
// Arithmetic follows the special values: anything with an invalid time, and infinity minus the same
// infinity, is invalid; otherwise an infinity wins, then indefinite. Sums of numbers take a timescale
// both operands divide (or, where that is too fine, the finer of the two, rounding), and a sum too
// large for 64 bits saturates to the infinity of its sign.
//
// Times compare by the instant they name, whatever their timescale (1/30 s equals 2/60 s). The order is
// total: negative infinity < numbers < positive infinity < indefinite < invalid.
class MediaTime {
public:
    // Ticks per second of times made from seconds: fine enough that no frame rate in use loses a tick.
    static constexpr std::int32_t kDefaultTimescale = 1'000'000'000;

    constexpr MediaTime() = default;

    // `value` ticks of 1 / `timescale` seconds; invalid for a timescale below 1.
    static constexpr MediaTime make(std::int64_t value, std::int32_t timescale) {
        return timescale > 0 ? MediaTime(Kind::Numeric, value, timescale) : MediaTime();
    }
    // The nearest tick to `seconds`; invalid for NaN, an infinity for too large a value.
    static MediaTime seconds(double seconds, std::int32_t timescale = kDefaultTimescale);
    static constexpr MediaTime zero() { return make(0, 1); }
    static constexpr MediaTime invalidTime() { return {}; }
    static constexpr MediaTime indefiniteTime() { return {Kind::Indefinite, 0, 0}; }
    static constexpr MediaTime positiveInfinity() { return {Kind::PositiveInfinity, 0, 0}; }
    static constexpr MediaTime negativeInfinity() { return {Kind::NegativeInfinity, 0, 0}; }

    constexpr bool isValid() const { return m_kind != Kind::Invalid; }
    constexpr bool isNumeric() const { return m_kind == Kind::Numeric; }
    constexpr bool isIndefinite() const { return m_kind == Kind::Indefinite; }
    constexpr bool isPositiveInfinity() const { return m_kind == Kind::PositiveInfinity; }
    constexpr bool isNegativeInfinity() const { return m_kind == Kind::NegativeInfinity; }

    // Ticks and timescale of a numeric time; 0 for the others.
    constexpr std::int64_t value() const { return m_value; }
    constexpr std::int32_t timescale() const { return m_timescale; }
    // Seconds of a numeric time and infinities of the infinities; invalid and indefinite give 0, so that
    // a time read without a check never poisons a computation with NaN.
    double inSeconds() const;

    // The same instant in ticks of `timescale`, rounded to the nearest tick; special values stay.
    MediaTime convertScale(std::int32_t timescale) const;

    friend MediaTime operator+(const MediaTime& a, const MediaTime& b);
    friend MediaTime operator-(const MediaTime& a, const MediaTime& b);
    friend MediaTime operator*(const MediaTime& a, std::int32_t factor);
    MediaTime operator-() const;

    // Negative, zero or positive as `a` comes before, with or after `b` in the total order above.
    static int compare(const MediaTime& a, const MediaTime& b);
    friend bool operator==(const MediaTime& a, const MediaTime& b) { return compare(a, b) == 0; }
    friend auto operator<=>(const MediaTime& a, const MediaTime& b) { return compare(a, b) <=> 0; }

    // For logs: "{3/30 = 0.100}", "{INVALID}", "{INDEFINITE}", "{+INFINITY}", "{-INFINITY}".
    std::string description() const;

private:
    // In the order of the total order.
    enum class Kind { NegativeInfinity, Numeric, PositiveInfinity, Indefinite, Invalid };

    constexpr MediaTime(Kind kind, std::int64_t value, std::int32_t timescale)
        : m_kind(kind)
        , m_value(value)
        , m_timescale(timescale) {}

    Kind m_kind = Kind::Invalid;
    std::int64_t m_value = 0;
    std::int32_t m_timescale = 0;
};

} // namespace media
