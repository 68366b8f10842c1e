#pragma once

#include "crashlog/service/CLGClientDelegate.h"
#include "crashlog/service/CLGHeaderCipher.h"
#include "crashlog/service/CLGWebClient.h"
#include "platform/core/Error.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zm {

inline constexpr std::string_view kCLGClientErrorDomain = "CLGClientErrorDomain";

// Why a conversation with the crash service failed, when the transport did not say.
enum class CLGClientError : long {
    SettingsUnreadable = -1,    // no dictionary, or no success
    ConfigureFailed = -2,       // no success
    NoURL = -3,                 // configure or submission without a target
    FileUnreadable = -4,        // the report file cannot be read
    ReportRefused = -5,         // status 400 to 499
    SubmissionFailed = -6,      // no success for another reason
};

// The crash reporter's three conversations with the crash service (fetching the settings,
// registering or updating the application, uploading one report) as requests on the REST layer. It
// asks its delegate for every application fact as it builds a request. Completions run on the global
// queue; a transport error reaches them unchanged, ahead of the client's own codes.
//
// Owned through std::shared_ptr (a settings answer reaches the delegate only while the client lives).
// Thread safety: requests are built on the calling thread; one caller at a time (the controller's
// queue).
class CLGClient : public std::enable_shared_from_this<CLGClient> {
public:
    using SettingsCompletion = std::function<void(std::optional<core::Dictionary> settings, std::optional<core::Error> error)>;
    using Completion = std::function<void(std::optional<core::Error> error)>;

    static constexpr std::string_view kUserAgent = "Crashlog iOS SDK/2.1.3";
    static constexpr std::string_view kClientType = "Crashlog iOS SDK";
    static constexpr std::string_view kClientVersion = "2.1.3";

    // A client of the service at `endpoint`, its web client carrying the default headers.
    explicit CLGClient(std::string endpoint, net::HttpTransfers& transfers = net::HttpTransfers::shared());

    CLGClientDelegate* delegate() const { return m_delegate; }
    // Not owned: it outlives the client and its requests.
    void setDelegate(CLGClientDelegate* delegate) { m_delegate = delegate; }
    const std::shared_ptr<CLGWebClient>& webClient() const { return m_webClient; }
    void setWebClient(std::shared_ptr<CLGWebClient> webClient) { m_webClient = std::move(webClient); }

    // The delegate's answers, asked anew on every call.
    std::string APIKey() const;
    std::string bundleId() const;
    std::optional<std::string> applicationName() const;
    std::optional<std::string> bundleVersion() const;
    std::optional<std::string> shortBundleVersion() const;
    std::optional<CLGExecutableSlices> executableSlices() const;
    std::optional<std::string> minimumSDKVersion() const;
    std::optional<std::string> builtSDKVersion() const;

    // The service's settings for this build and installation. The URL is not used: the path is
    // built from the application's facts under the endpoint.
    void loadSettingsFromURL(const std::optional<std::string>& url, SettingsCompletion completion);
    // Registers (POST) or updates (PUT) the application at `url`.
    void configureApplicationUsingURL(const std::optional<std::string>& url, bool asNewApp, Completion completion);
    // Uploads the report file at `path` to `url`.
    void submitCLSFileAtPath(const std::filesystem::path& path, const std::optional<std::string>& url, bool asInvalid,
                             Completion completion);
    void submitCLSFileAtPath(const std::filesystem::path& path, const std::optional<std::string>& url, Completion completion);
    void submitInvalidRecordAtPath(const std::filesystem::path& path, const std::optional<std::string>& url, Completion completion);

    // The lower-case SHA-1 text of the slices' UUIDs in the order of their architecture names;
    // "(unknown)" without slices.
    std::string instanceIdentifier() const;
    // The encrypted identification and event texts; nothing when there is nothing to send.
    std::optional<core::Bytes> identificationData() const;
    std::optional<core::Bytes> eventData() const;
    void removeInstallEventKey() const;

    CLGHeaderKey newHashedKey() const;
    static CLGHeaderKey newHashedKeyWithSeed(std::string_view seed, std::string_view salt);
    // The encrypted bytes of `data` under newHashedKey(); empty when the cipher fails.
    core::Bytes headerDataForData(std::string_view data) const;
    // {"key":"value","key2":"value2"}, in the dictionary's order, nothing escaped.
    static std::string headerStringForDictionary(const core::Dictionary& dictionary);
    std::optional<core::Bytes> headerDataForDictionary(const core::Dictionary& dictionary) const;
    core::Bytes headerDataForArray(const core::Array& array) const;

private:
    static core::Error error(CLGClientError code);

    CLGClientDelegate* m_delegate = nullptr;
    std::shared_ptr<CLGWebClient> m_webClient;
};

} // namespace zm
