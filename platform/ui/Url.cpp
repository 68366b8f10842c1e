#include "platform/ui/Url.h"

#include <algorithm>
#include <cctype>

namespace ui {

std::optional<Url> Url::parse(std::string_view text) {
    if (text.empty() || std::any_of(text.begin(), text.end(),
                                    [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7f; }))
        return std::nullopt;
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(text[0])))
        return std::nullopt;
    const std::string_view scheme = text.substr(0, colon);
    if (!std::all_of(scheme.begin(), scheme.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
        }))
        return std::nullopt;
    Url url;
    std::transform(scheme.begin(), scheme.end(), std::back_inserter(url.scheme),
                   [](char c) { return char(std::tolower(static_cast<unsigned char>(c))); });
    std::string_view rest = text.substr(colon + 1);
    if (const size_t fragment = rest.find('#'); fragment != std::string_view::npos)
        rest = rest.substr(0, fragment);
    if (const size_t question = rest.find('?'); question != std::string_view::npos) {
        url.query = std::string(rest.substr(question + 1));
        rest = rest.substr(0, question);
    }
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const size_t slash = rest.find('/');
        std::string_view authority = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
        if (const size_t at = authority.rfind('@'); at != std::string_view::npos)
            authority.remove_prefix(at + 1);
        if (const size_t port = authority.rfind(':');
            port != std::string_view::npos && authority.find(']') == std::string_view::npos)
            authority = authority.substr(0, port);
        url.host = std::string(authority);
    }
    url.path = std::string(rest);
    return url;
}

} // namespace ui
