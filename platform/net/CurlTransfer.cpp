#include "platform/net/CurlTransfer.h"

#include <algorithm>

namespace net {

namespace {

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
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

} // namespace

CurlTransfer::CurlTransfer(HttpRequest request)
    : m_request(std::move(request))
    , m_curl(CurlLibrary::get()) {
    setUp();
}

CurlTransfer::~CurlTransfer() {
    if (m_handle)
        m_curl->easy_cleanup(m_handle);
    if (m_headers)
        m_curl->slist_free_all(m_headers);
}

core::Error CurlTransfer::failure(HttpFailure kind, std::string description) const {
    return core::Error{std::string(kHttpErrorDomain), static_cast<long>(kind), std::move(description),
                       {{"url", m_request.url}}};
}

size_t CurlTransfer::receiveBody(char* bytes, size_t size, size_t count, void* context) {
    auto& transfer = *static_cast<CurlTransfer*>(context);
    const size_t length = size * count;
    if (transfer.m_response.body.size() + length > transfer.m_request.maximumBodySize) {
        transfer.m_tooLarge = true;
        return 0; // ends the transfer with a write error
    }
    transfer.m_response.body.append(bytes, length);
    return length;
}

size_t CurlTransfer::receiveHeader(char* bytes, size_t size, size_t count, void* context) {
    auto& headers = static_cast<CurlTransfer*>(context)->m_response.headers;
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

void CurlTransfer::setUp() {
    const HttpRequest& request = m_request;
    if (request.method.empty() || request.method.find_first_of(" \r\n") != std::string::npos) {
        m_refusal = failure(HttpFailure::BadRequest, "the method \"" + request.method + "\" cannot be sent");
        return;
    }
    for (const auto& [name, value] : request.headers) {
        // A line break would let a value write headers of its own.
        if (name.empty() || (name + value).find_first_of("\r\n") != std::string::npos || name.find(':') != std::string::npos) {
            m_refusal = failure(HttpFailure::BadRequest, "the header \"" + name + "\" cannot be sent");
            return;
        }
    }
    if (!m_curl) {
        m_refusal = failure(HttpFailure::Transport, CurlLibrary::loadFailure());
        return;
    }
    m_handle = m_curl->easy_init();
    if (!m_handle) {
        m_refusal = failure(HttpFailure::Transport, "the transfer could not be set up");
        return;
    }

    CURL* curl = m_handle;
    m_curl->easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    m_curl->easy_setopt(curl, CURLOPT_ERRORBUFFER, m_errorText);
    // Many threads send at once; signals would reach whichever one the kernel picks.
    m_curl->easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    m_curl->easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    m_curl->easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    m_curl->easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    m_curl->easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    // The connection closes with its exchange: requests are few and far between, and no server is
    // left holding an idle connection of ours open (nor waits on one to stop).
    m_curl->easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    m_curl->easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    m_curl->easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!request.certificateAuthorities.empty())
        m_curl->easy_setopt(curl, CURLOPT_CAINFO, request.certificateAuthorities.c_str());
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(request.timeout).count();
    m_curl->easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(std::max<int64_t>(milliseconds, 1)));
    m_curl->easy_setopt(curl, CURLOPT_WRITEFUNCTION, receiveBody);
    m_curl->easy_setopt(curl, CURLOPT_WRITEDATA, this);
    m_curl->easy_setopt(curl, CURLOPT_HEADERFUNCTION, receiveHeader);
    m_curl->easy_setopt(curl, CURLOPT_HEADERDATA, this);
    m_curl->easy_setopt(curl, CURLOPT_PRIVATE, this);

    if (request.method == "HEAD")
        m_curl->easy_setopt(curl, CURLOPT_NOBODY, 1L);
    else if (request.method != "GET" || !request.body.empty())
        m_curl->easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    if (!request.body.empty() || request.method == "POST" || request.method == "PUT") {
        m_curl->easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
        m_curl->easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    }

    const auto addHeader = [&](const std::string& line) {
        curl_slist* list = m_curl->slist_append(m_headers, line.c_str());
        if (list)
            m_headers = list;
        return list != nullptr;
    };
    bool headersMade = true;
    for (const auto& [name, value] : request.headers)
        headersMade = headersMade && addHeader(name + ": " + value);
    // A body goes at once, without first asking the server whether it wants it.
    headersMade = headersMade && addHeader("Expect:");
    if (!headersMade) {
        m_refusal = failure(HttpFailure::Transport, "the headers could not be set up");
        return;
    }
    m_curl->easy_setopt(curl, CURLOPT_HTTPHEADER, m_headers);
}

core::Result<HttpResponse> CurlTransfer::finish(CURLcode code) {
    if (m_tooLarge)
        return failure(HttpFailure::TooLarge, "the answer is larger than " + std::to_string(m_request.maximumBodySize) + " bytes");
    if (code != CURLE_OK)
        return failure(failureOf(code), m_errorText[0] ? m_errorText : m_curl->easy_strerror(code));
    m_curl->easy_getinfo(m_handle, CURLINFO_RESPONSE_CODE, &m_response.status);
    return std::move(m_response);
}

} // namespace net
