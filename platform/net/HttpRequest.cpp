#include "platform/net/HttpRequest.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>

#include <curl/curl.h>

namespace net {

namespace {

void initialiseOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// What the transfer collects while it runs.
struct Transfer {
    HttpResponse response;
    size_t maximumBodySize = 0;
    bool tooLarge = false;
};

size_t receiveBody(char* bytes, size_t size, size_t count, void* context) {
    auto& transfer = *static_cast<Transfer*>(context);
    const size_t length = size * count;
    if (transfer.response.body.size() + length > transfer.maximumBodySize) {
        transfer.tooLarge = true;
        return 0; // ends the transfer with a write error
    }
    transfer.response.body.append(bytes, length);
    return length;
}

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

size_t receiveHeader(char* bytes, size_t size, size_t count, void* context) {
    auto& headers = static_cast<Transfer*>(context)->response.headers;
    const std::string_view line(bytes, size * count);
    // Every response of the exchange (redirects, interim answers) starts with its status line; only
    // the last one's headers are kept.
    if (line.starts_with("HTTP/")) {
        headers.clear();
        return line.size();
    }
    if (const size_t colon = line.find(':'); colon != std::string_view::npos)
        headers.emplace_back(std::string(trimmed(line.substr(0, colon))), std::string(trimmed(line.substr(colon + 1))));
    return line.size();
}

HttpFailure failureOf(CURLcode code) {
    switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
    case CURLE_BAD_FUNCTION_ARGUMENT:
        return HttpFailure::BadRequest;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        return HttpFailure::Unreachable;
    case CURLE_OPERATION_TIMEDOUT:
        return HttpFailure::TimedOut;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CONNECT_ERROR:
        return HttpFailure::Insecure;
    default:
        return HttpFailure::Transport;
    }
}

core::Error failure(HttpFailure kind, std::string description, const std::string& url) {
    return core::Error{std::string(kHttpErrorDomain), static_cast<long>(kind), std::move(description), {{"url", url}}};
}

} // namespace

std::optional<std::string> HttpResponse::header(std::string_view name) const {
    const auto sameName = [&](const auto& header) {
        return std::equal(header.first.begin(), header.first.end(), name.begin(), name.end(),
                          [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) ==
                                                      std::tolower(static_cast<unsigned char>(y)); });
    };
    const auto found = std::find_if(headers.begin(), headers.end(), sameName);
    if (found == headers.end())
        return std::nullopt;
    return found->second;
}

core::Result<HttpResponse> perform(const HttpRequest& request) {
    initialiseOnce();
    const std::unique_ptr<CURL, EasyDeleter> handle(curl_easy_init());
    if (!handle)
        return failure(HttpFailure::Transport, "the transfer could not be set up", request.url);
    if (request.method.empty() || request.method.find_first_of(" \r\n") != std::string::npos)
        return failure(HttpFailure::BadRequest, "the method \"" + request.method + "\" cannot be sent", request.url);
    for (const auto& [name, value] : request.headers) {
        // A line break would let a value write headers of its own.
        if (name.empty() || (name + value).find_first_of("\r\n") != std::string::npos || name.find(':') != std::string::npos)
            return failure(HttpFailure::BadRequest, "the header \"" + name + "\" cannot be sent", request.url);
    }

    Transfer transfer;
    transfer.maximumBodySize = request.maximumBodySize;
    char errorText[CURL_ERROR_SIZE] = {};
    CURL* curl = handle.get();
    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    // Many threads send at once; signals would reach whichever one the kernel picks.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(request.timeout).count();
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(std::max<int64_t>(milliseconds, 1)));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, receiveBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, receiveHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);

    if (request.method == "HEAD")
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    else if (request.method != "GET" || !request.body.empty())
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    if (!request.body.empty() || request.method == "POST" || request.method == "PUT") {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    }

    std::unique_ptr<curl_slist, ListDeleter> headers;
    const auto addHeader = [&](const std::string& line) {
        curl_slist* list = curl_slist_append(headers.get(), line.c_str());
        if (list && list != headers.get())
            headers.reset(list);
        return list != nullptr;
    };
    bool headersMade = true;
    for (const auto& [name, value] : request.headers)
        headersMade = headersMade && addHeader(name + ": " + value);
    // A body goes at once, without first asking the server whether it wants it.
    headersMade = headersMade && addHeader("Expect:");
    if (!headersMade)
        return failure(HttpFailure::Transport, "the headers could not be set up", request.url);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());

    const CURLcode code = curl_easy_perform(curl);
    if (transfer.tooLarge)
        return failure(HttpFailure::TooLarge, "the answer is larger than " + std::to_string(request.maximumBodySize) + " bytes",
                       request.url);
    if (code != CURLE_OK)
        return failure(failureOf(code), errorText[0] ? errorText : curl_easy_strerror(code), request.url);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &transfer.response.status);
    return std::move(transfer.response);
}

} // namespace net
