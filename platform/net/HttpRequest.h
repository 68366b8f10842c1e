#pragma once

#include "platform/core/Clock.h"
#include "platform/core/Result.h"

#include <chrono>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace net {

inline constexpr std::string_view kHttpErrorDomain = "net.http";

// Why a request got no answer (the code of its Error).
enum class HttpFailure : long {
    BadRequest = 1,      // a URL or method that cannot be sent
    Unreachable = 2,     // no connection: name not found, port closed, network down
    TimedOut = 3,        // the answer did not come within the request's time
    Insecure = 4,        // the peer's certificate did not verify
    TooLarge = 5,        // the answer's body passed the request's limit
    Transport = 6,       // any other failure on the way
    Cancelled = 7,       // the sender was shut down before the answer came
};

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

// One HTTP or HTTPS request. Redirects to http or https addresses are followed (at most five); no
// other scheme is ever reached.
struct HttpRequest {
    std::string method = "GET";
    std::string url = {};
    HttpHeaders headers = {};
    std::string body = {};
    // The whole exchange, connection included, measured in real time.
    core::Duration timeout = std::chrono::seconds(60);
    // An answer whose body grows past this is no answer (a hostile or broken server cannot exhaust
    // memory).
    size_t maximumBodySize = 64 << 20;
    // A PEM file of the certificate authorities to trust in place of the system's (empty: the
    // system's), for a peer whose certificate a person or a test made.
    std::string certificateAuthorities = {};
};

// The answer of the final response (after redirects): its status, headers in the order received, and
// body.
struct HttpResponse {
    long status = 0;
    HttpHeaders headers = {};
    std::string body = {};

    // The first header of that name, whatever its case.
    std::optional<std::string> header(std::string_view name) const;
};

// Sends the request and waits for the answer on the calling thread. HTTPS peers must present a
// certificate that verifies for the host. Any status is an answer; only a failure to get one is an
// Error (domain kHttpErrorDomain, code an HttpFailure, description naming the cause). Any thread.
core::Result<HttpResponse> perform(const HttpRequest& request);
// The same, given up (HttpFailure::Cancelled) as soon as `stop` is requested, even while it waits for
// the peer: the calling thread is free again at once.
core::Result<HttpResponse> perform(const HttpRequest& request, std::stop_token stop);

} // namespace net
