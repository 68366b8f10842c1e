#pragma once

#include "crashlog/controller/CLGAlertPresenter.h"
#include "crashlog/controller/CLGSDKControllerDelegate.h"
#include "crashlog/service/CLGClient.h"
#include "crashlog/service/CLGIcon.h"
#include "crashlog/service/CLGSettings.h"
#include "platform/core/DispatchQueue.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zm {

// Everything that happens to crash files after a crash: the crash directory and its work areas
// (processing, prepared, sendable, invalid), the service settings that steer the rest, the
// application's registration with the service, the conversion of last run's records into report
// files, the user's permission, and their upload with back-off. After the start everything runs on the
// controller's serial queue ("com.crashlog.submission"); every delay is measured on core's clock.
//
// Owned through std::shared_ptr (work scheduled for later keeps it alive). Thread safety: the start
// may be called from any thread; the rest runs on the controller's queue.
class CLGSDKController : public std::enable_shared_from_this<CLGSDKController> {
public:
    static constexpr uint64_t kInitialRetryInterval = 10;
    static constexpr uint64_t kLongestRetryInterval = 300;
    static constexpr double kSettingsRetryDelay = 600;
    static constexpr double kConfigureRetryDelay = 60;
    static constexpr double kInvalidRetryDelay = 300;
    // A file larger than this is replaced by a line giving its size.
    static constexpr uintmax_t kLargestReasonableFile = 1048576;
    static constexpr int32_t kNoButton = -1337;

    // The controller of the crash files in `crashDirectory`, whose service is at `endpoint`.
    static std::shared_ptr<CLGSDKController> create(std::filesystem::path crashDirectory, std::string endpoint);
    CLGSDKController(std::filesystem::path crashDirectory, std::string endpoint);

    // Not owned: each outlives the controller. Set before the start.
    CLGSDKControllerDelegate* delegate() const { return m_delegate; }
    void setDelegate(CLGSDKControllerDelegate* delegate) { m_delegate = delegate; }
    CLGAlertPresenter* alertPresenter() const { return m_alertPresenter; }
    void setAlertPresenter(CLGAlertPresenter* presenter) { m_alertPresenter = presenter; }
    const std::shared_ptr<CLGClient>& client() const { return m_client; }
    void setClient(std::shared_ptr<CLGClient> client) { m_client = std::move(client); }

    // The base name of this run's crash files: a crash of this run while earlier records are being
    // processed leaves them in the crash directory, where the next start finds them as they are.
    // Set before the start.
    void setCurrentSessionBaseName(std::string name) { m_currentSessionBaseName = std::move(name); }

    const std::shared_ptr<core::DispatchQueue>& queue() const { return m_queue; }
    const std::filesystem::path& cachePath() const { return m_cachePath; }
    const std::filesystem::path& crashFileDirectory() const { return m_cachePath; }
    std::filesystem::path processingDirectory() const { return m_cachePath / "processing"; }
    std::filesystem::path preparedDirectory() const { return m_cachePath / "prepared"; }
    std::filesystem::path sendableDirectory() const { return m_cachePath / "sendable"; }
    std::filesystem::path invalidDirectory() const { return m_cachePath / "invalid"; }
    // The crash directory / SHA-1 of the endpoint / "settings.plist".
    std::filesystem::path settingsCachePath() const;

    // File operations; each answers whether it did what it says (failures logged in debug mode).
    static bool createDirectoryAtPath(const std::filesystem::path& path);
    static bool moveItemAtPath(const std::filesystem::path& path, const std::filesystem::path& directory);
    static bool removeItemAtPath(const std::filesystem::path& path);
    // Moves every entry, each only while the moves before it succeeded; an empty or unreadable source
    // answers true.
    static bool moveItemsFromDirectory(const std::filesystem::path& from, const std::filesystem::path& to);
    // Calls `block` with the full path and the extension (without the dot) of every entry, in name
    // order; nothing for an unreadable directory.
    static void enumerateFilesInDirectory(const std::filesystem::path& directory,
                                          const std::function<void(const std::filesystem::path&, const std::string&)>& block);
    // A file of at most kLargestReasonableFile bytes is kept; a larger one is replaced by the text
    // "Original file size: N\n". False when the file cannot be measured or replaced.
    static bool ensureReasonableFileAtPath(const std::filesystem::path& path);

    // Makes the four work areas; false at the first that cannot be made.
    bool setup();
    // Reads the cached settings and starts: a settings load (then registration or collection), or,
    // with fresh settings, processing after `delay` seconds.
    void beginStartupFlowAfterDelay(double delay);
    void loadSettings(std::function<void()> completion = nullptr);

    // The application's icon from the Info.plist and the resources, read anew at every call.
    static std::optional<CLGIcon> applicationIcon();

    // The back-off of the next failed upload, in seconds (the controller's queue).
    uint64_t retryInterval() const { return m_retryInterval; }
    static bool isARejectedError(const std::optional<core::Error>& error);

private:
    bool shouldLoadSettings() const;
    void onboardOrStartReportColletion();
    void configure(bool asNewApp);
    void startReportCollection();
    void startReportingAfterDelay(double delay);
    void processExistingRecords(bool alreadyPermitted);
    std::optional<std::filesystem::path> processRecordFile(const std::filesystem::path& recordPath);
    void settingsLoaded(const core::Dictionary& document, const std::function<void()>& completion);
    void settingsFailed(const std::function<void()>& completion);

    // Submission and permission.
    void displayPermissionAlert();
    void alertClicked(int index);
    void submitReportsSettingAlwaysFlag(bool always);
    void ignoreReports();
    void submitFiles();
    void retrySubmission();
    void submitInvalidFiles();
    void afterSeconds(double seconds, std::function<void()> work);
    std::optional<std::string> reportsURL() const;

    CLGSDKControllerDelegate* m_delegate = nullptr;
    CLGAlertPresenter* m_alertPresenter = nullptr;
    std::shared_ptr<CLGClient> m_client;
    const std::filesystem::path m_cachePath;
    const std::string m_endpoint;
    std::string m_currentSessionBaseName;
    const std::shared_ptr<core::DispatchQueue> m_queue;
    // The rest is the controller queue's.
    std::unique_ptr<CLGSettings> m_settings;
    uint64_t m_retryInterval = kInitialRetryInterval;
    bool m_retrying = false;
    int32_t m_sendButtonIndex = kNoButton;
    int32_t m_alwaysSendButtonIndex = kNoButton;
    double m_delay = 0;
};

} // namespace zm
