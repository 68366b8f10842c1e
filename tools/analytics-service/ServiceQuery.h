#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zm {

// A request to the analytics service as it arrived: "/api/v1/ENDPOINT?a=...&...&h=SIGNATURE".
struct ServiceQuery {
    std::string endpoint;                                     // "start", "resolve", "event"
    std::string signedText;                                   // "?a=...&..." up to, not with, "&h="
    std::string signature;                                    // the value of h
    std::vector<std::pair<std::string, std::string>> params;  // decoded, in order, h left out

    // Nothing when the target is not under "/api/v1/" or has no query.
    static std::optional<ServiceQuery> parse(std::string_view target);

    // The first value of `key`; empty when missing.
    std::string value(std::string_view key) const;
    bool has(std::string_view key) const;
};

} // namespace zm
