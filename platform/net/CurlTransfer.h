#pragma once

#include "platform/net/CurlLibrary.h"
#include "platform/net/HttpRequest.h"

#include <memory>
#include <optional>

#include <curl/curl.h>

namespace net {

// One request's libcurl handle, set up from the request, and what it collects while it runs. Shared by
// the blocking and the asynchronous senders so that both send exactly the same way.
class CurlTransfer {
public:
    explicit CurlTransfer(HttpRequest request);
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    // Why the request cannot be sent at all (checked before anything goes out), if it cannot.
    const std::optional<core::Error>& refusal() const { return m_refusal; }
    // The handle to run; null when refused.
    CURL* handle() const { return m_handle; }
    // libcurl, when it could be loaded (it always could unless refused).
    const CurlLibrary& curl() const { return *m_curl; }

    // The answer once libcurl has finished the handle with `code`.
    core::Result<HttpResponse> finish(CURLcode code);

    // The failure of a transfer that ended for the reason given, for this request's URL.
    core::Error failure(HttpFailure kind, std::string description) const;

private:
    static size_t receiveBody(char* bytes, size_t size, size_t count, void* context);
    static size_t receiveHeader(char* bytes, size_t size, size_t count, void* context);
    void setUp();

    // Owned here because libcurl reads the body in place while the transfer runs.
    const HttpRequest m_request;
    const CurlLibrary* const m_curl;
    CURL* m_handle = nullptr;
    curl_slist* m_headers = nullptr;
    char m_errorText[CURL_ERROR_SIZE] = {};
    std::optional<core::Error> m_refusal;
    HttpResponse m_response;
    bool m_tooLarge = false;
};

} // namespace net
