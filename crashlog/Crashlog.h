#pragma once

#include "crashlog/capture/CLGCaptureConfiguration.h"
#include "crashlog/controller/CLGSDKControllerDelegate.h"
#include "crashlog/report/CLGStackFrame.h"
#include "crashlog/service/CLGClientDelegate.h"
#include "platform/core/NotificationCenter.h"
#include "platform/core/Value.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace core {
class DispatchQueue;
class Timer;
} // namespace core

namespace zm {

class CLGAlertPresenter;
class CLGClient;
class CLGCrashReport;
class CLGCrashFile;
class CLGSDKController;
class Crashlog;

// What a start without an API key raises: a fault of the program's deployment, not of the user.
class CrashlogException : public std::runtime_error {
public:
    static constexpr std::string_view name = "CrashlogException";

    explicit CrashlogException(const std::string& reason)
        : std::runtime_error(reason) {}
};

// What an application may be told about the crash reporter. Every operation is optional; messages
// arrive on the main queue.
class CrashlogDelegate {
public:
    virtual ~CrashlogDelegate() = default;

    // The previous run ended in a crash.
    virtual void crashlogDidDetectCrashDuringPreviousExecution(Crashlog&) {}
    // The same, with the previous run's crash, once its record is being converted.
    virtual void crashlogDidDetectCrashDuringPreviousExecution(Crashlog&, const CLGCrashReport&) {}

    // Whether the delegate decides which crash signals are left to the signal handlers.
    virtual bool answersEnsureDeliveryOfUnixSignal() const { return false; }
    // Whether `signal` must reach the signal handlers even when the exception server could take it.
    virtual bool crashlogEnsureDeliveryOfUnixSignal(Crashlog&, int /*signal*/) { return false; }
};

// A web address handed in as a custom value.
struct CrashlogURL {
    std::string absoluteString;
};

// An object of the application's own: it may describe itself, or not.
struct CrashlogDescribable {
    std::optional<std::string> description;
};

// What an application hands in as a user field or a custom value: nothing, a text, a number (any
// numeric core::Value), a web address or another object.
using CrashlogObject = std::variant<std::monostate, std::string, core::Value, CrashlogURL, CrashlogDescribable>;

// The crash reporter of the process: started once, at launch, with the crash-reporting service's API
// key. The start installs crash capture, keeps the device's state in the capture context current,
// finds out whether the previous run crashed and hands the crash files to the report controller, which
// converts and sends them to the service the "CrashlogAPIEndpoint" setting names (the Info.plist's,
// else the environment's); without one nothing is sent and the records wait. Afterwards it offers
// the application setters that attach a user, custom keys and handled exceptions to a later crash
// record, and answers the questions of the controller and the service client.
//
// The start catches crashes before it returns (the arena and the signal handlers are installed on the
// caller's thread, in well under a millisecond) and runs the rest of its steps on the reporter's own
// queue: they take tens of milliseconds (files, the capture's facts, the images, the first use of the
// digests), which a launch should not wait for. A crash meanwhile is recorded once the record's name
// is known. What the application sets meanwhile is applied as soon as capture is ready.
//
// Start, setters and answers may be called from any thread; delegate messages go to the main queue.
class Crashlog : public CLGSDKControllerDelegate, public CLGClientDelegate {
public:
    // The delay between the start and the first look at crashes of earlier runs.
    static constexpr double kDefaultStartDelay = 1.0;
    static constexpr std::string_view kVersion = "2.1.3";

    Crashlog(const Crashlog&) = delete;
    Crashlog& operator=(const Crashlog&) = delete;

    // The reporter of the process, made at first use and never destroyed: its observers and timer last
    // as long as the process.
    static Crashlog& sharedInstance();

    // Starts crash reporting for the process through its reporter and answers that reporter. An empty
    // key raises CrashlogException; a start after a successful one is logged and changes nothing.
    static Crashlog& startWithAPIKey(const std::string& apiKey);
    static Crashlog& startWithAPIKey(const std::string& apiKey, double delay);
    static Crashlog& startWithAPIKey(const std::string& apiKey, CrashlogDelegate* delegate);
    static Crashlog& startWithAPIKey(const std::string& apiKey, CrashlogDelegate* delegate, double delay);
    static Crashlog& startWithAPIKey(const std::string& apiKey, CrashlogDelegate* delegate, double delay,
                                     const CLGBuildEnvironment& environment);

    // The start of this reporter: capture is installed at once, the other start-up steps run once per
    // process on the reporter's queue.
    void initializeWithAPIKey(const std::string& apiKey, double delay, const CLGBuildEnvironment& environment);
    // Where the start-up runs (a caller that must know capture is on waits for it there).
    const std::shared_ptr<core::DispatchQueue>& queue() const { return m_queue; }

    const std::string& apiKey() const { return m_apiKey; }
    static std::string_view version() { return kVersion; }
    // Whether diagnostics beginning "[Crashlog] " are written; one switch for the whole crash reporter.
    static bool debugMode();
    static void setDebugMode(bool on);
    CrashlogDelegate* delegate() const { return m_delegate; }
    void setDelegate(CrashlogDelegate* delegate) { m_delegate = delegate; }
    // Who asks the user for permission to send, when the service's settings want it; not owned, it
    // lives as long as the process. Set before the start; without one the reports wait unsent.
    void setAlertPresenter(CLGAlertPresenter* presenter) { m_alertPresenter = presenter; }
    // The report controller and the service client the start made (null before it, or without an
    // endpoint for the client).
    const std::shared_ptr<CLGSDKController>& controller() const { return m_controller; }
    const std::shared_ptr<CLGClient>& client() const { return m_client; }

    // Where the crash files of this installation live, and the marker a crash leaves there.
    const std::filesystem::path& crashDirectory() const { return m_crashDirectory; }
    std::filesystem::path crashMarkerFilePath() const;
    // Whether this start found the marker of a crash.
    bool lastSessionWasCrash() const { return m_lastSessionWasCrash; }

    // Crashes the process on purpose, by a trap, to try the reporter out.
    [[noreturn]] static void crash();

    // What a crash record will carry. Each does nothing before a start; between the start and the
    // moment capture is ready it is applied once capture is.
    static void setUserIdentifier(const CrashlogObject& identifier);
    static void setUserName(const CrashlogObject& name);
    static void setUserEmail(const CrashlogObject& email);
    static void setObjectValue(const CrashlogObject& value, const std::string& key);
    static void setIntValue(int value, const std::string& key);
    static void setBoolValue(bool value, const std::string& key);
    static void setFloatValue(float value, const std::string& key);
    static void setDevelopmentPlatformName(const CrashlogObject& name);
    static void setDevelopmentPlatformVersion(const CrashlogObject& version);
    static void recordExceptionName(const std::string& name, const std::string& reason,
                                    const std::vector<CLGStackFrame>& frames);

    // A text as it stands; any other object's description when it has one; else nothing.
    static std::optional<std::string> confirmCustomIdentifierValue(const CrashlogObject& value);

    // Whether the report controller has sent everything there was to send in this run (a program that
    // runs briefly, as a headless game does, waits for it after a crash).
    bool hasCompletedSubmissions() const { return m_submissionsCompleted.load(); }

    // The report controller's questions.
    void controllerCompletedSubmissions(CLGSDKController&) override { m_submissionsCompleted = true; }
    // A crash record is about to be converted: symbolicate it with the images of this run and, when
    // this start found the marker, hand it to the delegate.
    void controllerWillProcessFile(CLGSDKController& controller, CLGCrashFile& file) override;
    // Whether the list of running processes is collected, now and every 30 s.
    void controllerCollectProcesses(CLGSDKController& controller, bool collect) override;

    // The service client's questions.
    std::string APIKeyForClient(const CLGClient&) override { return m_apiKey; }
    std::string bundleIdForClient(const CLGClient&) override;
    std::optional<std::string> applicationNameForClient(const CLGClient&) override;
    std::optional<std::string> bundleVersionForClient(const CLGClient&) override;
    std::optional<std::string> shortBundleVersionForClient(const CLGClient&) override;
    std::optional<CLGExecutableSlices> executableSlicesForClient(const CLGClient&) override;
    std::optional<std::string> minimumSDKVersionForClient(const CLGClient&) override;
    std::optional<std::string> builtSDKVersionForClient(const CLGClient&) override;
    // The identifiers the context holds, then the model and the system version, each when present.
    core::Dictionary identificationDictionaryForClient(const CLGClient&) override;
    // The conversion events while conversion tracking is on.
    core::Array eventArrayForClient(const CLGClient&) override;
    void removeInstallEventKeyForClient(const CLGClient&) override;
    std::optional<CLGIcon> iconForClient(const CLGClient&) override;

private:
    Crashlog();
    ~Crashlog() override = default;

    // Runs `work` now when capture is ready, after the start-up when one is under way, else never.
    static void afterStart(std::function<void()> work);

    void runStartupSteps(double delay, const CLGBuildEnvironment& environment);
    void setupCrashHandling(const CLGBuildEnvironment& environment, const std::optional<std::string>& endpoint);
    uint32_t machExceptionMask();
    void gatherInitialNotificationData();
    void setupNotifications();
    void checkForCrashMarker();
    void updateThirtySecondIntervalData();

    CrashlogDelegate* m_delegate = nullptr;
    CLGAlertPresenter* m_alertPresenter = nullptr;
    const std::shared_ptr<core::DispatchQueue> m_queue;
    std::shared_ptr<CLGSDKController> m_controller;
    std::shared_ptr<CLGClient> m_client;
    std::shared_ptr<core::Timer> m_thirtySecondTimer;
    std::string m_apiKey;
    std::filesystem::path m_crashDirectory;
    std::atomic<bool> m_starting = false;
    std::atomic<bool> m_submissionsCompleted = false;
    bool m_lastSessionWasCrash = false;
    std::atomic<bool> m_collectProcesses = false;
    // The seven device-state observers.
    std::vector<core::NotificationCenter::Observation> m_observations;
};

} // namespace zm
