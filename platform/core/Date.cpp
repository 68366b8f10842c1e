#include "platform/core/Date.h"

#include "platform/core/Format.h"

#include <cmath>
#include <cstdint>

namespace core {

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct Civil {
    int64_t year;
    int64_t month;
    int64_t day;
};

Civil civilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    return {yearOfEra + era * 400 + (month <= 2), month, day};
}

bool readNumber(std::string_view text, size_t position, size_t digits, int64_t& value) {
    if (position + digits > text.size())
        return false;
    value = 0;
    for (size_t i = position; i < position + digits; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

constexpr double kLatestSecond = 253402300799; // 9999-12-31T23:59:59Z

} // namespace

std::string Date::iso8601() const {
    double seconds = std::floor(secondsSince1970);
    if (!std::isfinite(seconds) || seconds < -62135596800.0 || seconds > kLatestSecond)
        seconds = std::isnan(seconds) || seconds < 0 ? -62135596800.0 : kLatestSecond; // years 1 to 9999
    const auto whole = static_cast<int64_t>(seconds);
    const int64_t days = whole >= 0 ? whole / 86400 : (whole - 86399) / 86400;
    const int64_t secondOfDay = whole - days * 86400;
    const Civil civil = civilFromDays(days);
    return format("%04lld-%02lld-%02lldT%02lld:%02lld:%02lldZ", static_cast<long long>(civil.year),
                  static_cast<long long>(civil.month), static_cast<long long>(civil.day),
                  static_cast<long long>(secondOfDay / 3600), static_cast<long long>(secondOfDay / 60 % 60),
                  static_cast<long long>(secondOfDay % 60));
}

std::optional<Date> Date::fromIso8601(std::string_view text) {
    int64_t year, month, day, hour, minute, second;
    if (!readNumber(text, 0, 4, year) || text.size() < 20 || text[4] != '-' ||
        !readNumber(text, 5, 2, month) || text[7] != '-' || !readNumber(text, 8, 2, day) || text[10] != 'T' ||
        !readNumber(text, 11, 2, hour) || text[13] != ':' || !readNumber(text, 14, 2, minute) ||
        text[16] != ':' || !readNumber(text, 17, 2, second))
        return std::nullopt;
    size_t position = 19;
    double fraction = 0;
    if (text[position] == '.') {
        double scale = 0.1;
        ++position;
        const size_t start = position;
        while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
            fraction += (text[position] - '0') * scale;
            scale /= 10;
            ++position;
        }
        if (position == start)
            return std::nullopt;
    }
    if (position + 1 != text.size() || text[position] != 'Z')
        return std::nullopt;
    // Year 0 would read, yet is written back as year 1: the years held are those written, 1 to 9999.
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    if (civilFromDays(daysFromCivil(year, month, day)).month != month) // 31 April, 30 February...
        return std::nullopt;
    const int64_t days = daysFromCivil(year, month, day);
    return Date{static_cast<double>(days * 86400 + hour * 3600 + minute * 60 + second) + fraction};
}

} // namespace core
