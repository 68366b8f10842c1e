#include "crashlog/service/CLGWebRequest.h"

#include "crashlog/service/CLGWebClient.h"

#include <algorithm>
#include <strings.h>

namespace zm {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool sameHeader(std::string_view x, std::string_view y) {
    return x.size() == y.size() && strncasecmp(x.data(), y.data(), x.size()) == 0;
}

} // namespace

std::shared_ptr<CLGWebRequest> CLGWebRequest::requestWithMethod(std::string method, std::string path) {
    auto request = std::make_shared<CLGWebRequest>(std::move(method));
    request->setPath(std::move(path));
    return request;
}

CLGWebRequest::CLGWebRequest(std::string method)
    : m_method(std::move(method)) {}

void CLGWebRequest::addValueForHTTPHeaderField(std::string value, std::string_view field) {
    for (auto& [name, existing] : m_customHeaders) {
        if (sameHeader(name, field)) {
            existing = std::move(value);
            return;
        }
    }
    m_customHeaders.emplace_back(std::string(field), std::move(value));
}

void CLGWebRequest::addHeaders(const net::HttpHeaders& headers) {
    for (const auto& [name, value] : headers) {
        if (!header(name))
            m_customHeaders.emplace_back(name, value);
    }
}

std::optional<std::string> CLGWebRequest::header(std::string_view field) const {
    const auto found = std::find_if(m_customHeaders.begin(), m_customHeaders.end(),
                                    [&](const auto& entry) { return sameHeader(entry.first, field); });
    if (found == m_customHeaders.end())
        return std::nullopt;
    return found->second;
}

void CLGWebRequest::addValueForFormField(std::optional<std::string> value, std::string field) {
    CLGFormRecord record{.field = std::move(field), .value = {}, .mimeType = "text/plain", .fileName = {}};
    if (value)
        record.value = std::move(*value);
    addFormRecord(std::move(record));
}

void CLGWebRequest::addData(core::Bytes data, std::string mimeType, std::string fileName, std::string field) {
    addFormRecord({std::move(field), std::move(data), std::move(mimeType), std::move(fileName)});
}

void CLGWebRequest::setFormData(const core::Dictionary& fields) {
    for (const auto& [field, value] : fields.entries())
        addValueForFormField(value.stringValue(), field);
}

void CLGWebRequest::addFormRecord(CLGFormRecord record) {
    m_formFields.push_back(std::move(record));
}

std::string CLGWebRequest::fullURL() const {
    std::string url = m_URL;
    if (m_parameters.empty())
        return url;
    url += '?';
    for (const auto& [key, value] : m_parameters.entries())
        url += CLGWebClient::escapeURLString(key) + "=" + CLGWebClient::escapeURLString(value.stringValue()) + "&";
    url.pop_back();
    return url;
}

std::optional<std::string> CLGWebRequest::formData() const {
    if (m_formFields.empty())
        return std::nullopt;
    const std::string boundary(kBoundary);
    std::string body = "MIME-Version: 1.0";
    body += kLineEnd;
    for (const CLGFormRecord& record : m_formFields) {
        if (const auto* text = std::get_if<std::string>(&record.value)) {
            body += "--" + boundary + std::string(kLineEnd);
            body += "Content-Disposition: form-data; name=\"" + record.field + "\"" + std::string(kLineEnd);
            body += "Content-Type: text/plain" + std::string(kLineEnd) + std::string(kLineEnd);
            body += *text + std::string(kLineEnd);
        } else if (const auto* data = std::get_if<core::Bytes>(&record.value)) {
            body += "--" + boundary + std::string(kLineEnd);
            body += "Content-Disposition: form-data; name=\"" + record.field + "\"; filename=\"" + record.fileName + "\"" +
                    std::string(kLineEnd);
            if (!record.mimeType.empty())
                body += "Content-Type: " + record.mimeType + std::string(kLineEnd) + "Content-Transfer-Encoding: binary" +
                        std::string(kLineEnd) + std::string(kLineEnd);
            else
                body += "Content-Type: application/octet-stream" + std::string(kLineEnd) + std::string(kLineEnd);
            body += core::asText(*data);
            body += kLineEnd;
        }
    }
    body += "--" + boundary + "--" + std::string(kLineEnd);
    return body;
}

net::HttpRequest CLGWebRequest::URLRequest() const {
    net::HttpRequest request;
    request.url = fullURL();
    request.method = m_method;
    request.timeout = kTimeout;
    request.certificateAuthorities = m_certificateAuthorities;
    if (auto body = formData()) {
        request.body = std::move(*body);
        request.headers.emplace_back("Content-Type", "multipart/form-data; boundary=" + std::string(kBoundary));
    }
    for (const auto& header : m_customHeaders) {
        const auto same = std::find_if(request.headers.begin(), request.headers.end(),
                                       [&](const auto& entry) { return sameHeader(entry.first, header.first); });
        if (same != request.headers.end())
            same->second = header.second;
        else
            request.headers.push_back(header);
    }
    return request;
}

} // namespace zm
