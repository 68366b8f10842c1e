#pragma once

#include "platform/core/Value.h"
#include "platform/net/HttpRequest.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace zm {

// One field of a multipart form: a text (MIME type "text/plain"), bytes sent as a file, or no value at
// all, which leaves the field out of the body.
struct CLGFormRecord {
    std::string field;
    std::variant<std::monostate, std::string, core::Bytes> value;
    std::string mimeType; // empty: none given
    std::string fileName; // bytes only
};

// One request of the crash service's REST layer: method, path or absolute URL, headers and a
// multipart/form-data body, rendered by URLRequest().
//
// Used by one thread at a time.
class CLGWebRequest {
public:
    static constexpr std::string_view kBoundary = "AaB03x";
    static constexpr std::chrono::seconds kTimeout{15};

    static std::shared_ptr<CLGWebRequest> requestWithMethod(std::string method, std::string path);
    explicit CLGWebRequest(std::string method);

    const std::string& method() const { return m_method; }
    const std::string& path() const { return m_path; }
    void setPath(std::string path) { m_path = std::move(path); }
    // The absolute target; empty until set, when the client makes it from the path and its base URL.
    const std::string& URL() const { return m_URL; }
    void setURL(std::string url) { m_URL = std::move(url); }
    // Query parameters (texts), appended to the URL escaped.
    const core::Dictionary& parameters() const { return m_parameters; }
    void setParameters(core::Dictionary parameters) { m_parameters = std::move(parameters); }
    // The certificate authorities the transfer trusts in place of the system's (empty: the system's).
    const std::string& certificateAuthorities() const { return m_certificateAuthorities; }
    void setCertificateAuthorities(std::string file) { m_certificateAuthorities = std::move(file); }

    // Sets (replaces) a header; names match whatever their case.
    void addValueForHTTPHeaderField(std::string value, std::string_view field);
    // Adds the headers not set on the request yet: the request's own win.
    void addHeaders(const net::HttpHeaders& headers);
    std::optional<std::string> header(std::string_view field) const;
    const net::HttpHeaders& customHeaders() const { return m_customHeaders; }

    // A text field; no value leaves the field out of the body.
    void addValueForFormField(std::optional<std::string> value, std::string field);
    void addData(core::Bytes data, std::string mimeType, std::string fileName, std::string field);
    // One text field per entry, in the dictionary's order.
    void setFormData(const core::Dictionary& fields);
    void addFormRecord(CLGFormRecord record);
    const std::vector<CLGFormRecord>& formFields() const { return m_formFields; }

    // The URL with the parameters as an escaped query.
    std::string fullURL() const;
    // The multipart body, or nothing without form fields.
    std::optional<std::string> formData() const;
    // What goes out: the full URL, the method, the body with its Content-Type, then the request's
    // headers; 15 seconds for the whole exchange.
    net::HttpRequest URLRequest() const;

private:
    std::string m_method;
    std::string m_path;
    std::string m_URL;
    core::Dictionary m_parameters;
    std::string m_certificateAuthorities;
    net::HttpHeaders m_customHeaders;
    std::vector<CLGFormRecord> m_formFields;
};

} // namespace zm
