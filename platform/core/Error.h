#pragma once

#include <map>
#include <string>

namespace core {

// A failure reported to a caller: which component (domain), which failure (code), a sentence for
// people (description) and named details (user info, e.g. the name that could not be resolved).
struct Error {
    std::string domain;
    long code = 0;
    std::string description;
    std::map<std::string, std::string> userInfo;

    // "domain code: description", for logs.
    std::string text() const;

    friend bool operator==(const Error&, const Error&) = default;
};

} // namespace core
