#include "crashlog/service/CLGWebClient.h"

#include "platform/core/Json.h"

#include <cctype>

namespace zm {

namespace {

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool keptAsIs(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_' || c == '~';
}

// The scheme and authority of an absolute URL ("https://host:port"), or "" when it has none.
std::string_view originOf(std::string_view url) {
    const size_t scheme = url.find("://");
    if (scheme == std::string_view::npos)
        return {};
    const size_t pathStart = url.find_first_of("/?#", scheme + 3);
    return url.substr(0, pathStart == std::string_view::npos ? url.size() : pathStart);
}

} // namespace

std::string CLGWebClient::escapeURLString(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (keptAsIs(c) || (c == '%' && i + 2 < text.size() && isHexDigit(text[i + 1]) && isHexDigit(text[i + 2]))) {
            escaped += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        escaped += '%';
        escaped += kHex[byte >> 4];
        escaped += kHex[byte & 0xF];
    }
    return escaped;
}

core::Value CLGWebClient::decodeJSON(std::string_view data) {
    core::Result<core::Value> parsed = core::parseJson(data);
    return parsed ? std::move(parsed.value()) : core::Value();
}

std::shared_ptr<CLGWebClient> CLGWebClient::create(std::string url, net::HttpTransfers& transfers) {
    return std::make_shared<CLGWebClient>(std::move(url), transfers);
}

CLGWebClient::CLGWebClient(std::string url, net::HttpTransfers& transfers)
    : m_url(std::move(url))
    , m_transfers(transfers)
    , m_queue(core::DispatchQueue::serial("com.crashlog.rest-client"))
    , m_customHeaders{{"Accept", "application/json, application/x-plist"}} {}

void CLGWebClient::addValue(std::string value, std::string_view header) {
    CLGWebRequest headers("GET");
    std::lock_guard lock(m_lock);
    for (const auto& [name, existing] : m_customHeaders)
        headers.addValueForHTTPHeaderField(existing, name);
    headers.addValueForHTTPHeaderField(std::move(value), header);
    m_customHeaders = headers.customHeaders();
}

net::HttpHeaders CLGWebClient::defaultHeaders() const {
    std::lock_guard lock(m_lock);
    return m_customHeaders;
}

void CLGWebClient::setCertificateAuthorities(std::string file) {
    std::lock_guard lock(m_lock);
    m_certificateAuthorities = std::move(file);
}

std::string CLGWebClient::resolve(const std::string& path) const {
    if (!originOf(path).empty() || path.empty())
        return path.empty() ? m_url : path;
    if (path.front() == '/')
        return std::string(originOf(m_url)) + path;
    // A relative path replaces the last segment of the base URL's path; a lone query its query.
    std::string_view base(m_url);
    base = base.substr(0, std::min(base.find_first_of("?#", originOf(base).size()), base.size()));
    if (path.front() == '?')
        return std::string(base) + path;
    const size_t lastSlash = base.rfind('/');
    if (lastSlash == std::string_view::npos || lastSlash < originOf(base).size())
        return std::string(base) + "/" + path;
    return std::string(base.substr(0, lastSlash + 1)) + path;
}

void CLGWebClient::prepare(CLGWebRequest& request) const {
    if (request.URL().empty())
        request.setURL(resolve(request.path()));
    std::lock_guard lock(m_lock);
    request.addHeaders(m_customHeaders);
    if (request.certificateAuthorities().empty())
        request.setCertificateAuthorities(m_certificateAuthorities);
}

void CLGWebClient::startRequest(std::shared_ptr<CLGWebRequest> request, Completion completion) {
    auto self = shared_from_this();
    m_queue->async([self, request = std::move(request), completion = std::move(completion)] {
        self->prepare(*request);
        auto transaction = CLGWebClientTransaction::transactionWithRequest(request);
        {
            std::lock_guard lock(self->m_lock);
            self->m_connections.insert(transaction);
        }
        transaction->startWithCompletionHandler(
            [self, transaction, completion](std::shared_ptr<const CLGWebResponse> response) {
                core::DispatchQueue::global()->async([self, transaction, completion, response] {
                    if (completion)
                        completion(response);
                    self->m_queue->async([self, transaction] {
                        std::lock_guard lock(self->m_lock);
                        self->m_connections.erase(transaction);
                    });
                });
            },
            self->m_transfers);
    });
}

CLGWebClient::Completion CLGWebClient::expecting(uint32_t expected, Completion completion) {
    return [expected, completion = std::move(completion)](std::shared_ptr<const CLGWebResponse> response) {
        if (!response->error && response->statusCode != expected) {
            auto changed = std::make_shared<CLGWebResponse>(*response);
            changed->error = core::Error{std::string(kCLGWebClientErrorDomain), kCLGWebClientUnexpectedStatus,
                                         "expected status " + std::to_string(expected) + ", got " +
                                             std::to_string(response->statusCode),
                                         {}};
            response = std::move(changed);
        }
        if (completion)
            completion(response);
    };
}

void CLGWebClient::startRequest(std::shared_ptr<CLGWebRequest> request, uint32_t expected, Completion completion) {
    startRequest(std::move(request), expecting(expected, std::move(completion)));
}

void CLGWebClient::syncStartRequest(std::shared_ptr<CLGWebRequest> request, Completion completion) {
    std::shared_ptr<const CLGWebResponse> response;
    m_queue->sync([&] {
        prepare(*request);
        CLGWebClientTransaction::transactionWithRequest(request)->syncStartWithCompletionHandler(
            [&](std::shared_ptr<const CLGWebResponse> answer) { response = std::move(answer); });
    });
    if (completion && response)
        completion(response);
}

void CLGWebClient::syncStartRequest(std::shared_ptr<CLGWebRequest> request, uint32_t expected, Completion completion) {
    syncStartRequest(std::move(request), expecting(expected, std::move(completion)));
}

void CLGWebClient::getPath(const std::string& path, Completion completion) {
    getURL(resolve(path), std::move(completion));
}

void CLGWebClient::getURL(const std::string& url, Completion completion) {
    auto self = shared_from_this();
    m_queue->async([self, url, completion = std::move(completion)]() mutable {
        const std::string_view origin = originOf(url);
        auto request = CLGWebRequest::requestWithMethod("GET", url.substr(origin.size()));
        request->setURL(url);
        self->startRequest(std::move(request), std::move(completion));
    });
}

void CLGWebClient::postFormData(const core::Dictionary& fields, const std::string& path, Completion completion) {
    auto self = shared_from_this();
    m_queue->async([self, fields, path, completion = std::move(completion)]() mutable {
        auto request = CLGWebRequest::requestWithMethod("POST", path);
        request->setFormData(fields);
        self->startRequest(std::move(request), std::move(completion));
    });
}

size_t CLGWebClient::runningTransactions() const {
    std::lock_guard lock(m_lock);
    return m_connections.size();
}

} // namespace zm
