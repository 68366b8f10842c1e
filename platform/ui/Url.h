#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ui {

// The parts of an address that the screens look at: "https://user@www.example.com:8080/a/b?x=1#top"
// has the scheme "https", the host "www.example.com", the path "/a/b" and the query "x=1". Addresses
// without an authority ("mailto:someone@example.com", "file:/tmp/page.html") have an empty host.
struct Url {
    std::string scheme; // in lower case
    std::string host;   // as written
    std::string path;
    std::string query;

    // Nothing for text that is no address: no scheme, or blanks and control characters in it.
    static std::optional<Url> parse(std::string_view text);
};

} // namespace ui
