#pragma once

#include "platform/core/Error.h"
#include "platform/core/Value.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zm {

// What came back for one request: the status (0 until an answer arrived), the body's bytes and their
// decoded form (null when there is none or it did not decode), or the error that kept the answer away.
struct CLGWebResponse {
    std::string requestURL;
    uint32_t statusCode = 0;
    core::Value body;
    std::optional<core::Error> error;
    std::string responseData;

    // No error and a status in 200 to 299.
    bool wasSuccessful() const;
    // "{request: URL, status: N, body: ..., error: ...}", for logs.
    std::string description() const;
};

} // namespace zm
