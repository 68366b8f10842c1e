#include "tools/analytics-service/ServiceQuery.h"

#include "platform/core/Encoding.h"

#include <algorithm>

namespace zm {

std::optional<ServiceQuery> ServiceQuery::parse(std::string_view target) {
    constexpr std::string_view prefix = "/api/v1/";
    const size_t question = target.find('?');
    if (!target.starts_with(prefix) || question == std::string_view::npos)
        return std::nullopt;
    ServiceQuery query;
    query.endpoint = std::string(target.substr(prefix.size(), question - prefix.size()));
    std::string_view rest = target.substr(question);
    // The signature is the last part; everything before it is what it signs.
    if (const size_t h = rest.rfind("&h="); h != std::string_view::npos) {
        query.signature = std::string(rest.substr(h + 3));
        rest = rest.substr(0, h);
    }
    query.signedText = std::string(rest);
    rest.remove_prefix(1);
    while (!rest.empty()) {
        const size_t end = std::min(rest.find('&'), rest.size());
        const std::string_view part = rest.substr(0, end);
        const size_t equals = part.find('=');
        const std::string_view key = part.substr(0, equals);
        const std::string_view value = equals == std::string_view::npos ? std::string_view() : part.substr(equals + 1);
        query.params.emplace_back(std::string(key), core::percentUnescape(value).value_or(std::string(value)));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return query;
}

std::string ServiceQuery::value(std::string_view key) const {
    const auto found = std::find_if(params.begin(), params.end(), [&](const auto& param) { return param.first == key; });
    return found == params.end() ? std::string() : found->second;
}

bool ServiceQuery::has(std::string_view key) const {
    return std::any_of(params.begin(), params.end(), [&](const auto& param) { return param.first == key; });
}

} // namespace zm
