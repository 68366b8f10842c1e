#include "crashlog/service/CLGClient.h"

#include "crashlog/log/CLGLog.h"
#include "crashlog/service/CLGServiceKeys.h"
#include "platform/core/Digest.h"
#include "platform/core/Files.h"
#include "platform/core/Json.h"

#include <algorithm>

namespace zm {

namespace {

constexpr std::string_view kAPIKeyHeader = "X-CRASHLOG-API-KEY";

std::string errorText(const std::optional<core::Error>& error) {
    return error ? error->text() : "(null)";
}

} // namespace

CLGClient::CLGClient(std::string endpoint, net::HttpTransfers& transfers)
    : m_webClient(CLGWebClient::create(std::move(endpoint), transfers)) {
    m_webClient->addValue(std::string(kCLGDeveloperToken), "X-CRASHLOG-DEVELOPER-TOKEN");
    m_webClient->addValue(std::string(kUserAgent), "User-Agent");
    m_webClient->addValue(std::string(kClientType), "X-CRASHLOG-API-CLIENT-TYPE");
    m_webClient->addValue(std::string(kClientVersion), "X-CRASHLOG-API-CLIENT-VERSION");
    m_webClient->addValue("application/x-plist", "Accept");
}

core::Error CLGClient::error(CLGClientError code) {
    return core::Error{std::string(kCLGClientErrorDomain), static_cast<long>(code), {}, {}};
}

std::string CLGClient::APIKey() const { return m_delegate ? m_delegate->APIKeyForClient(*this) : std::string(); }
std::string CLGClient::bundleId() const { return m_delegate ? m_delegate->bundleIdForClient(*this) : std::string(); }
std::optional<std::string> CLGClient::applicationName() const {
    return m_delegate ? m_delegate->applicationNameForClient(*this) : std::nullopt;
}
std::optional<std::string> CLGClient::bundleVersion() const {
    return m_delegate ? m_delegate->bundleVersionForClient(*this) : std::nullopt;
}
std::optional<std::string> CLGClient::shortBundleVersion() const {
    return m_delegate ? m_delegate->shortBundleVersionForClient(*this) : std::nullopt;
}
std::optional<CLGExecutableSlices> CLGClient::executableSlices() const {
    return m_delegate ? m_delegate->executableSlicesForClient(*this) : std::nullopt;
}
std::optional<std::string> CLGClient::minimumSDKVersion() const {
    return m_delegate ? m_delegate->minimumSDKVersionForClient(*this) : std::nullopt;
}
std::optional<std::string> CLGClient::builtSDKVersion() const {
    return m_delegate ? m_delegate->builtSDKVersionForClient(*this) : std::nullopt;
}

std::string CLGClient::instanceIdentifier() const {
    const std::optional<CLGExecutableSlices> slices = executableSlices();
    if (!slices)
        return "(unknown)";
    CLGExecutableSlices sorted = *slices;
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    std::string uuids;
    for (const auto& [architecture, uuid] : sorted)
        uuids += uuid;
    return core::sha1Hex(uuids);
}

CLGHeaderKey CLGClient::newHashedKeyWithSeed(std::string_view seed, std::string_view salt) {
    return CLGHeaderKeyWithSeed(seed, salt);
}

CLGHeaderKey CLGClient::newHashedKey() const {
    return newHashedKeyWithSeed(APIKey(), bundleId());
}

core::Bytes CLGClient::headerDataForData(std::string_view data) const {
    return CLGHeaderEncrypt(newHashedKey(), data).value_or(core::Bytes());
}

std::string CLGClient::headerStringForDictionary(const core::Dictionary& dictionary) {
    std::string text = "{";
    for (const auto& [key, value] : dictionary.entries())
        text += "\"" + key + "\":\"" + value.stringValue() + "\",";
    if (text.size() > 1)
        text.pop_back();
    return text + "}";
}

std::optional<core::Bytes> CLGClient::headerDataForDictionary(const core::Dictionary& dictionary) const {
    if (dictionary.empty())
        return std::nullopt;
    return headerDataForData(headerStringForDictionary(dictionary));
}

core::Bytes CLGClient::headerDataForArray(const core::Array& array) const {
    std::string text = "[";
    for (const core::Value& element : array) {
        if (text.size() > 1)
            text += ",";
        text += headerStringForDictionary(element.asDictionary() ? *element.asDictionary() : core::Dictionary());
    }
    return headerDataForData(text + "]");
}

std::optional<core::Bytes> CLGClient::identificationData() const {
    if (!m_delegate)
        return std::nullopt;
    return headerDataForDictionary(m_delegate->identificationDictionaryForClient(*this));
}

std::optional<core::Bytes> CLGClient::eventData() const {
    const core::Array events = m_delegate ? m_delegate->eventArrayForClient(*this) : core::Array();
    if (events.empty())
        return std::nullopt;
    CLGLog("[CT] events %li.", static_cast<long>(events.size()));
    return headerDataForArray(events);
}

void CLGClient::removeInstallEventKey() const {
    if (m_delegate)
        m_delegate->removeInstallEventKeyForClient(*this);
}

void CLGClient::loadSettingsFromURL(const std::optional<std::string>&, SettingsCompletion completion) {
    const std::optional<std::string> shortVersion = shortBundleVersion();
    std::string path = "/spi/v1/platforms/ios/apps/" + CLGWebClient::escapeURLString(bundleId()) + "/settings";
    path += "?build_version=" + CLGWebClient::escapeURLString(bundleVersion().value_or(""));
    if (shortVersion)
        path += "&display_version=" + CLGWebClient::escapeURLString(*shortVersion);
    path += "&instance=" + CLGWebClient::escapeURLString(instanceIdentifier());
    if (const auto icon = m_delegate ? m_delegate->iconForClient(*this) : std::nullopt; icon && !icon->dataHash.empty())
        path += "&icon_hash=" + icon->dataHash;
    CLGDebugLog("[Crashlog] Settings url string: '%s%s'", m_webClient->URL().c_str(), path.c_str());

    auto request = CLGWebRequest::requestWithMethod("GET", path);
    if (const auto events = eventData()) {
        request->addValueForHTTPHeaderField(core::hexString(*events), "X-CRASHLOG-E");
        CLGLog("[CT] header data added.");
    }
    if (const auto identification = identificationData())
        request->addValueForHTTPHeaderField(core::hexString(*identification), "X-CRASHLOG-D");
    request->addValueForHTTPHeaderField(APIKey(), kAPIKeyHeader);

    m_webClient->startRequest(request, [completion, weakSelf = weak_from_this()](std::shared_ptr<const CLGWebResponse> response) {
        CLGDebugLog("[Crashlog] Settings response: {status: %ld, error: %s}", static_cast<long>(response->statusCode),
                    errorText(response->error).c_str());
        if (response->error) {
            completion(std::nullopt, response->error);
            return;
        }
        if (response->wasSuccessful() && response->body.asDictionary()) {
            // The install event has reached the service.
            if (const auto self = weakSelf.lock())
                self->removeInstallEventKey();
            CLGDebugLog("[Crashlog] Settings body: %s", core::toJson(response->body).c_str());
            completion(*response->body.asDictionary(), std::nullopt);
            return;
        }
        completion(std::nullopt, error(CLGClientError::SettingsUnreadable));
    });
}

void CLGClient::configureApplicationUsingURL(const std::optional<std::string>& url, bool asNewApp, Completion completion) {
    if (!url) {
        CLGDebugLog("[Crashlog] [Client] configure URL invalid");
        completion(error(CLGClientError::NoURL));
        return;
    }
    auto request = CLGWebRequest::requestWithMethod(asNewApp ? "POST" : "PUT", "");
    request->setURL(*url);
    request->addValueForFormField(bundleId(), "app[identifier]");
    request->addValueForFormField(instanceIdentifier(), "app[instance_identifier]");
    request->addValueForFormField(applicationName(), "app[name]");
    request->addValueForFormField(bundleVersion(), "app[build_version]");
    request->addValueForFormField(shortBundleVersion(), "app[display_version]");
    request->addValueForFormField(minimumSDKVersion(), "app[minimum_sdk_version]");
    request->addValueForFormField(builtSDKVersion(), "app[built_sdk_version]");
    for (const auto& [architecture, uuid] : executableSlices().value_or(CLGExecutableSlices())) {
        request->addValueForFormField(architecture, "app[slices][][arch]");
        request->addValueForFormField(uuid, "app[slices][][uuid]");
    }
    if (const auto icon = m_delegate ? m_delegate->iconForClient(*this) : std::nullopt) {
        request->addValueForFormField(icon->dataHash, "app[icon][hash]");
        request->addValueForFormField(icon->prerendered ? "true" : "false", "app[icon][prerendered]");
        request->addValueForFormField(std::to_string(static_cast<unsigned long>(icon->size.width)), "app[icon][width]");
        request->addValueForFormField(std::to_string(static_cast<unsigned long>(icon->size.height)), "app[icon][height]");
        request->addData(icon->data, "image/png", "icon.png", "app[icon][data]");
    }
    request->addValueForHTTPHeaderField(APIKey(), kAPIKeyHeader);
    m_webClient->startRequest(request, [completion](std::shared_ptr<const CLGWebResponse> response) {
        if (response->wasSuccessful() || response->error)
            completion(response->error);
        else
            completion(error(CLGClientError::ConfigureFailed));
    });
}

void CLGClient::submitCLSFileAtPath(const std::filesystem::path& path, const std::optional<std::string>& url, bool asInvalid,
                                    Completion completion) {
    if (!url) {
        CLGDebugLog("[Crashlog] [Client] submission URL invalid");
        completion(error(CLGClientError::NoURL));
        return;
    }
    const core::Result<std::string> contents = core::readFile(path);
    if (!contents) {
        CLGDebugLog("[Crashlog] [Client] Could not read data from %s", path.c_str());
        completion(error(CLGClientError::FileUnreadable));
        return;
    }
    auto request = CLGWebRequest::requestWithMethod("POST", "");
    request->setURL(*url);
    if (asInvalid)
        request->addValueForHTTPHeaderField("1", "X-CRASHLOG-INVALID-SESSION");
    request->addValueForHTTPHeaderField(APIKey(), kAPIKeyHeader);
    request->addValueForFormField(path.stem().string(), "report[identifier]");
    request->addData(core::asBytes(*contents), "application/octet-stream", path.filename().string(), "report[file]");
    m_webClient->startRequest(request, [completion](std::shared_ptr<const CLGWebResponse> response) {
        CLGDebugLog("[Crashlog] Submission response: {status: %ld, error: %s}", static_cast<long>(response->statusCode),
                    errorText(response->error).c_str());
        if (response->error)
            completion(response->error);
        else if (response->statusCode >= 400 && response->statusCode <= 499)
            completion(error(CLGClientError::ReportRefused));
        else if (response->wasSuccessful())
            completion(std::nullopt);
        else
            completion(error(CLGClientError::SubmissionFailed));
    });
}

void CLGClient::submitCLSFileAtPath(const std::filesystem::path& path, const std::optional<std::string>& url, Completion completion) {
    submitCLSFileAtPath(path, url, false, std::move(completion));
}

void CLGClient::submitInvalidRecordAtPath(const std::filesystem::path& path, const std::optional<std::string>& url,
                                          Completion completion) {
    submitCLSFileAtPath(path, url, true, std::move(completion));
}

} // namespace zm
