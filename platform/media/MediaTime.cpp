#include "platform/media/MediaTime.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <numeric>

namespace media {

namespace {

// 64-bit values times 32-bit timescales need 96 bits.
__extension__ typedef __int128 Wide;

constexpr std::int64_t kMaxValue = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinValue = std::numeric_limits<std::int64_t>::min();

// value × to / from, to the nearest whole number, halves away from zero.
Wide rescale(Wide value, std::int64_t to, std::int64_t from) {
    const Wide product = value * to;
    const Wide half = from / 2;
    return product >= 0 ? (product + half) / from : (product - half) / from;
}

} // namespace

MediaTime MediaTime::seconds(double seconds, std::int32_t timescale) {
    if (std::isnan(seconds) || timescale < 1)
        return invalidTime();
    const double ticks = std::round(seconds * timescale);
    if (ticks >= static_cast<double>(kMaxValue))
        return positiveInfinity();
    if (ticks <= static_cast<double>(kMinValue))
        return negativeInfinity();
    return make(static_cast<std::int64_t>(ticks), timescale);
}

double MediaTime::inSeconds() const {
    switch (m_kind) {
    case Kind::Numeric:
        return static_cast<double>(m_value) / m_timescale;
    case Kind::PositiveInfinity:
        return std::numeric_limits<double>::infinity();
    case Kind::NegativeInfinity:
        return -std::numeric_limits<double>::infinity();
    case Kind::Indefinite:
    case Kind::Invalid:
        break;
    }
    return 0;
}

MediaTime MediaTime::convertScale(std::int32_t timescale) const {
    if (!isNumeric())
        return *this;
    if (timescale < 1)
        return invalidTime();
    const Wide ticks = rescale(m_value, timescale, m_timescale);
    if (ticks > kMaxValue)
        return positiveInfinity();
    if (ticks < kMinValue)
        return negativeInfinity();
    return make(static_cast<std::int64_t>(ticks), timescale);
}

MediaTime MediaTime::operator-() const {
    switch (m_kind) {
    case Kind::Numeric:
        // The one value without a negative in 64 bits goes to the infinity it stands for.
        return m_value == kMinValue ? positiveInfinity() : make(-m_value, m_timescale);
    case Kind::PositiveInfinity:
        return negativeInfinity();
    case Kind::NegativeInfinity:
        return positiveInfinity();
    case Kind::Indefinite:
    case Kind::Invalid:
        break;
    }
    return *this;
}

MediaTime operator+(const MediaTime& a, const MediaTime& b) {
    using Kind = MediaTime::Kind;
    if (!a.isValid() || !b.isValid())
        return MediaTime::invalidTime();
    const bool positive = a.m_kind == Kind::PositiveInfinity || b.m_kind == Kind::PositiveInfinity;
    const bool negative = a.m_kind == Kind::NegativeInfinity || b.m_kind == Kind::NegativeInfinity;
    if (positive && negative)
        return MediaTime::invalidTime();
    if (positive)
        return MediaTime::positiveInfinity();
    if (negative)
        return MediaTime::negativeInfinity();
    if (a.isIndefinite() || b.isIndefinite())
        return MediaTime::indefiniteTime();

    // A timescale both divide keeps the sum exact; past 32 bits the finer one rounds the other.
    const std::int64_t common = std::lcm(static_cast<std::int64_t>(a.m_timescale), b.m_timescale);
    const std::int64_t timescale =
        common <= std::numeric_limits<std::int32_t>::max() ? common : std::max(a.m_timescale, b.m_timescale);
    const Wide sum = rescale(a.m_value, timescale, a.m_timescale) + rescale(b.m_value, timescale, b.m_timescale);
    if (sum > kMaxValue)
        return MediaTime::positiveInfinity();
    if (sum < kMinValue)
        return MediaTime::negativeInfinity();
    return MediaTime::make(static_cast<std::int64_t>(sum), static_cast<std::int32_t>(timescale));
}

MediaTime operator-(const MediaTime& a, const MediaTime& b) {
    return a + (-b);
}

MediaTime operator*(const MediaTime& a, std::int32_t factor) {
    if (!a.isNumeric()) {
        if (factor == 0 && (a.isPositiveInfinity() || a.isNegativeInfinity()))
            return MediaTime::invalidTime();
        return factor < 0 ? -a : a;
    }
    const Wide product = static_cast<Wide>(a.m_value) * factor;
    if (product > kMaxValue)
        return MediaTime::positiveInfinity();
    if (product < kMinValue)
        return MediaTime::negativeInfinity();
    return MediaTime::make(static_cast<std::int64_t>(product), a.m_timescale);
}

int MediaTime::compare(const MediaTime& a, const MediaTime& b) {
    if (a.m_kind != b.m_kind)
        return a.m_kind < b.m_kind ? -1 : 1;
    if (!a.isNumeric())
        return 0;
    const Wide left = static_cast<Wide>(a.m_value) * b.m_timescale;
    const Wide right = static_cast<Wide>(b.m_value) * a.m_timescale;
    return left < right ? -1 : (left > right ? 1 : 0);
}

std::string MediaTime::description() const {
    switch (m_kind) {
    case Kind::Numeric: {
        char text[96];
        std::snprintf(text, sizeof text, "{%lld/%d = %.3f}", static_cast<long long>(m_value), m_timescale,
                      inSeconds());
        return text;
    }
    case Kind::PositiveInfinity:
        return "{+INFINITY}";
    case Kind::NegativeInfinity:
        return "{-INFINITY}";
    case Kind::Indefinite:
        return "{INDEFINITE}";
    case Kind::Invalid:
        break;
    }
    return "{INVALID}";
}

} // namespace media
