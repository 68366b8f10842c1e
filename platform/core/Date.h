#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// A moment in UTC, as seconds since 1970-01-01T00:00:00Z. A plain value: where the present moment
// comes from is the clock's business.
struct Date {
    double secondsSince1970 = 0;

    // "2024-03-01T12:00:00Z": whole seconds, UTC.
    std::string iso8601() const;
    // Reads "YYYY-MM-DDTHH:MM:SSZ" (optionally with a fraction of a second); nothing for other text.
    static std::optional<Date> fromIso8601(std::string_view text);

    friend auto operator<=>(const Date&, const Date&) = default;
};

} // namespace core
