#include "crashlog/Crashlog.h"

#include "crashlog/CrashlogContextFacts.h"
#include "crashlog/capture/CLGCaptureContext.h"
#include "crashlog/capture/CLGExceptionInfo.h"
#include "crashlog/capture/CLGInstallIdentifier.h"
#include "crashlog/capture/CLGMemory.h"
#include "crashlog/capture/CLGSignalHandler.h"
#include "crashlog/controller/CLGConversionEvents.h"
#include "crashlog/controller/CLGSDKController.h"
#include "crashlog/log/CLGLog.h"
#include "crashlog/report/CLGCrashFile.h"
#include "crashlog/report/CLGUUID.h"
#include "crashlog/service/CLGClient.h"
#include "platform/core/ApplicationEvents.h"
#include "platform/core/Battery.h"
#include "platform/core/DeviceEvents.h"
#include "platform/core/Digest.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Format.h"
#include "platform/core/InfoPlist.h"
#include "platform/core/SystemFacts.h"
#include "platform/core/Timer.h"
#include "platform/core/UserDefaults.h"

#include <chrono>
#include <cstdlib>
#include <mutex>

namespace zm {

namespace {

using namespace std::chrono_literals;

constexpr core::Duration kProcessListInterval = 30s;
// Collect every device identifier the machine offers.
constexpr uint32_t kAllIdentifiers = 15;

std::once_flag g_startupOnce;

CLGCaptureMutablePart* readyMutablePart() {
    return CLGCaptureContextIsReady() ? CLGCaptureContextShared().mutablePart : nullptr;
}

// Runs `work` on the context's queue and waits for it, once capture is ready.
template <typename Work> void onContextQueue(Work work) {
    if (CLGCaptureMutablePart* part = readyMutablePart())
        part->queue->sync([part, &work] { work(*part); });
}

void storeCustomValue(const std::string& text, const std::string& key) {
    CLGCaptureContextSetCustomValue(text.c_str(), key.c_str());
}

void setString(std::atomic<char*>& slot, const std::optional<std::string>& text) {
    CLGCaptureContextSetString(slot, text, true);
}

std::string batteryLevelText(float level) {
    return core::format("%f", static_cast<double>(level));
}

uint32_t orientationOf(const core::Notification& notification) {
    const core::Value* orientation = notification.userInfo.find(core::kOrientationKey);
    return orientation ? static_cast<uint32_t>(orientation->integerValue()) : 1;
}

} // namespace

Crashlog::Crashlog()
    : m_queue(core::DispatchQueue::serial("com.crashlog.queue")) {}

Crashlog& Crashlog::sharedInstance() {
    static Crashlog* const shared = new Crashlog;
    return *shared;
}

Crashlog& Crashlog::startWithAPIKey(const std::string& apiKey) {
    return startWithAPIKey(apiKey, nullptr, kDefaultStartDelay);
}

Crashlog& Crashlog::startWithAPIKey(const std::string& apiKey, double delay) {
    return startWithAPIKey(apiKey, nullptr, delay);
}

Crashlog& Crashlog::startWithAPIKey(const std::string& apiKey, CrashlogDelegate* delegate) {
    return startWithAPIKey(apiKey, delegate, kDefaultStartDelay);
}

Crashlog& Crashlog::startWithAPIKey(const std::string& apiKey, CrashlogDelegate* delegate, double delay) {
    return startWithAPIKey(apiKey, delegate, delay, CLGBuildEnvironment{});
}

Crashlog& Crashlog::startWithAPIKey(const std::string& apiKey, CrashlogDelegate* delegate, double delay,
                                    const CLGBuildEnvironment& environment) {
    Crashlog& crashlog = sharedInstance();
    if (delegate)
        crashlog.setDelegate(delegate);
    crashlog.initializeWithAPIKey(apiKey, delay, environment);
    return crashlog;
}

void Crashlog::initializeWithAPIKey(const std::string& apiKey, double delay,
                                    const CLGBuildEnvironment& environment) {
    if (apiKey.empty())
        throw CrashlogException("Crashlog cannot start with the API key '" + apiKey + "'");
    if (m_starting.load() || CLGCaptureContextIsReady()) {
        CLGLog(
            "[Crashlog] startWithAPIKey: called more than once. startWithAPIKey: should only be called once, "
            "at app launch time. This call is being ignored.");
        return;
    }
    std::call_once(g_startupOnce, [&] {
        m_apiKey = apiKey;
        m_starting = true;
        // Crashes are caught from here on, the start's first moments included; the rest of the start
        // (files, identifiers, the facts of the machine) runs on the queue.
        CLGCaptureContextInstall();
        m_queue->async([this, delay, environment] {
            runStartupSteps(delay, environment);
            m_starting = false;
        });
    });
}

void Crashlog::afterStart(std::function<void()> work) {
    // Capture is ready before the start is over: a start seen over has made it ready, or failed.
    if (sharedInstance().m_starting.load()) {
        sharedInstance().m_queue->async([work = std::move(work)] {
            if (CLGCaptureContextIsReady())
                work();
        });
    } else if (CLGCaptureContextIsReady())
        work();
}

void Crashlog::runStartupSteps(double delay, const CLGBuildEnvironment& environment) {
    m_collectProcesses = false;
    CLGDebugLog("[Crashlog] Welcome to Crashlog %s", std::string(kVersion).c_str());
    const core::Dictionary& info = *core::sharedInfoDictionary();
    // Nothing is sent anywhere unless a person names the service.
    const std::optional<std::string> endpoint = CLGAPIEndpointOverride(info, std::getenv);
    m_crashDirectory = core::FileLocations::shared().caches / "com.crashlog.data" / CLGBundleIdentifier(info);
    m_controller = CLGSDKController::create(m_crashDirectory, endpoint.value_or(""));
    m_controller->setDelegate(this);
    m_controller->setAlertPresenter(m_alertPresenter);
    if (!m_controller->setup()) {
        CLGCaptureContextAbandon();
        return;
    }
    setupCrashHandling(environment, endpoint);
    gatherInitialNotificationData();
    setupNotifications();
    m_lastSessionWasCrash = false;
    if (endpoint) {
        m_client = std::make_shared<CLGClient>(*endpoint);
        m_client->setDelegate(this);
        m_controller->setClient(m_client);
    }
    checkForCrashMarker();
    if (endpoint)
        m_controller->beginStartupFlowAfterDelay(delay);
    else
        CLGDebugLog("[Crashlog] No service endpoint (CrashlogAPIEndpoint): crash records wait");
}

std::filesystem::path Crashlog::crashMarkerFilePath() const {
    return m_crashDirectory / "crash_marker";
}

void Crashlog::setupCrashHandling(const CLGBuildEnvironment& environment,
                                  const std::optional<std::string>& endpoint) {
    bool installIdentifierCreated = false;
    const std::string installIdentifier =
        CLGInstallIdentifier(core::UserDefaults::standard(), &installIdentifierCreated);
    const std::string segment = core::sha1Hex(installIdentifier);
    const auto session = CLGUUID::generateWithSegmentData(
        std::span(reinterpret_cast<const uint8_t*>(segment.data()), segment.size()));
    if (!session) {
        CLGLog("[Crashlog] The clock stands before 1970: no session can be named, and nothing is captured");
        CLGCaptureContextAbandon();
        return;
    }
    const std::string base = CLGSessionBaseName(session->stringValue());
    m_controller->setCurrentSessionBaseName(base);
    const core::FileLocations& locations = core::FileLocations::shared();

    CLGCaptureConfiguration configuration;
    configuration.apiKey = m_apiKey;
    configuration.sessionIdentifier = session->stringValue();
    configuration.recordPath = m_crashDirectory / (base + ".clgrecord");
    configuration.crashMarkerPath = crashMarkerFilePath();
    configuration.identifierFlags = kAllIdentifiers;
    configuration.runningLogPath = m_crashDirectory / "session.clglog";
    configuration.crashLogPath = m_crashDirectory / (base + ".clglog");
    configuration.buildEnvironment = environment;
    configuration.machMaskToLeave = machExceptionMask();
    configuration.infoPlist = *core::sharedInfoDictionary();
    configuration.hostFacts = [installIdentifier, documents = locations.documents.string()] {
        return CLGHostFactsGather(installIdentifier, documents);
    };
    configuration.systemVersion = core::systemFacts().systemVersion;
    configuration.installIdentifierCreated = installIdentifierCreated;
    if (endpoint)
        configuration.settingsReloadAction = [controller = m_controller] { controller->loadSettings(); };
    CLGCaptureContextInitialize(configuration);
    if (installIdentifierCreated)
        core::UserDefaults::standard().synchronize();
}

uint32_t Crashlog::machExceptionMask() {
    if (!m_delegate || !m_delegate->answersEnsureDeliveryOfUnixSignal())
        return 0;
    uint32_t mask = 0;
    for (const int signal : kCLGSignals) {
        if (m_delegate->crashlogEnsureDeliveryOfUnixSignal(*this, signal))
            mask |= CLGSignalExceptionMask(signal);
    }
    return mask;
}

void Crashlog::gatherInitialNotificationData() {
    CLGCaptureMutablePart* part = readyMutablePart();
    if (!part)
        return;
    const core::Battery battery = core::Battery::read();
    CLGDeviceState& state = part->deviceState;
    // A desktop stands upright and never turns by itself; a turned status bar says so when it turns.
    state.deviceOrientation = 1;
    state.interfaceOrientation = 1;
    state.chargingState = static_cast<int32_t>(battery.state);
    CLGCaptureContextSetString(state.batteryLevel, batteryLevelText(battery.level), false);
}

void Crashlog::setupNotifications() {
    using Update = void (*)(CLGDeviceState&, const core::Notification&);
    const std::pair<std::string_view, Update> observed[] = {
        {core::kDeviceOrientationDidChangeNotification,
         [](CLGDeviceState& state, const core::Notification& notification) {
             state.deviceOrientation = orientationOf(notification);
         }},
        {core::kDeviceBatteryStateDidChangeNotification,
         [](CLGDeviceState& state, const core::Notification&) {
             state.chargingState = static_cast<int32_t>(core::Battery::read().state);
         }},
        {core::kDeviceBatteryLevelDidChangeNotification,
         [](CLGDeviceState& state, const core::Notification&) {
             CLGCaptureContextSetString(state.batteryLevel, batteryLevelText(core::Battery::read().level),
                                        false);
         }},
        // Nothing here senses what is near the screen.
        {core::kDeviceProximityStateDidChangeNotification,
         [](CLGDeviceState& state, const core::Notification&) { state.proximity = false; }},
        {core::kStatusBarOrientationDidChangeNotification,
         [](CLGDeviceState& state, const core::Notification& notification) {
             state.interfaceOrientation = orientationOf(notification);
         }},
        {core::kApplicationDidEnterBackgroundNotification,
         [](CLGDeviceState& state, const core::Notification&) { state.backgrounded = true; }},
        {core::kApplicationWillEnterForegroundNotification,
         [](CLGDeviceState& state, const core::Notification&) { state.backgrounded = false; }},
    };
    core::NotificationCenter& center = core::NotificationCenter::defaultCenter();
    for (const auto& observation : observed) {
        m_observations.push_back(center.addObserver(
            std::string(observation.first), nullptr,
            [update = observation.second](const core::Notification& notification) {
                onContextQueue([&](CLGCaptureMutablePart& part) { update(part.deviceState, notification); });
            }));
    }
}

void Crashlog::checkForCrashMarker() {
    const std::filesystem::path marker = crashMarkerFilePath();
    std::error_code error;
    m_lastSessionWasCrash = std::filesystem::exists(marker, error);
    if (!m_lastSessionWasCrash)
        return;
    if (!std::filesystem::remove(marker, error))
        CLGDebugLog("[Crashlog] Unable to remove crash marker file");
    if (m_delegate) {
        core::DispatchQueue::main()->async([this] {
            if (m_delegate)
                m_delegate->crashlogDidDetectCrashDuringPreviousExecution(*this);
        });
    }
}

bool Crashlog::debugMode() {
    return CLGDebugMode();
}

void Crashlog::setDebugMode(bool on) {
    CLGSetDebugMode(on);
}

void Crashlog::crash() {
    __builtin_trap();
}

std::optional<std::string> Crashlog::confirmCustomIdentifierValue(const CrashlogObject& value) {
    struct Describe {
        std::optional<std::string> operator()(std::monostate) const { return std::nullopt; }
        std::optional<std::string> operator()(const std::string& text) const { return text; }
        std::optional<std::string> operator()(const core::Value& number) const {
            return number.stringValue();
        }
        std::optional<std::string> operator()(const CrashlogURL& url) const { return url.absoluteString; }
        std::optional<std::string> operator()(const CrashlogDescribable& object) const {
            return object.description;
        }
    };
    return std::visit(Describe{}, value);
}

void Crashlog::setUserIdentifier(const CrashlogObject& identifier) {
    afterStart([text = confirmCustomIdentifierValue(identifier)] {
        setString(CLGCaptureContextShared().mutablePart->log.userIdentifier, text);
    });
}

void Crashlog::setUserName(const CrashlogObject& name) {
    afterStart([text = confirmCustomIdentifierValue(name)] {
        setString(CLGCaptureContextShared().mutablePart->log.userName, text);
    });
}

void Crashlog::setUserEmail(const CrashlogObject& email) {
    afterStart([text = confirmCustomIdentifierValue(email)] {
        setString(CLGCaptureContextShared().mutablePart->log.userEmail, text);
    });
}

void Crashlog::setObjectValue(const CrashlogObject& value, const std::string& key) {
    if (const std::optional<std::string> text = confirmCustomIdentifierValue(value))
        afterStart([escaped = core::percentEscape(*text), key] { storeCustomValue(escaped, key); });
}

void Crashlog::setIntValue(int value, const std::string& key) {
    afterStart([text = core::format("%i", value), key] { storeCustomValue(text, key); });
}

void Crashlog::setBoolValue(bool value, const std::string& key) {
    afterStart([text = std::string(value ? "YES" : "NO"), key] { storeCustomValue(text, key); });
}

void Crashlog::setFloatValue(float value, const std::string& key) {
    afterStart([text = core::format("%f", static_cast<double>(value)), key] { storeCustomValue(text, key); });
}

void Crashlog::setDevelopmentPlatformName(const CrashlogObject& name) {
    afterStart([text = confirmCustomIdentifierValue(name)] {
        setString(CLGCaptureContextShared().mutablePart->devPlatform, text);
    });
}

void Crashlog::setDevelopmentPlatformVersion(const CrashlogObject& version) {
    afterStart([text = confirmCustomIdentifierValue(version)] {
        setString(CLGCaptureContextShared().mutablePart->devPlatformVersion, text);
    });
}

void Crashlog::recordExceptionName(const std::string& name, const std::string& reason,
                                   const std::vector<CLGStackFrame>& frames) {
    afterStart([=] {
        onContextQueue([&](CLGCaptureMutablePart& part) {
            CLGExceptionRecordHandled(part.exception, name, reason, frames);
        });
    });
}

void Crashlog::controllerWillProcessFile(CLGSDKController&, CLGCrashFile& file) {
    if (CLGCaptureContextIsReady()) {
        const CLGCaptureContext& context = CLGCaptureContextShared();
        onContextQueue([&](CLGCaptureMutablePart&) {
            char uuid[kCLGUUIDStringSize] = "";
            if (context.staticPart->executable.uuid)
                CLGUUIDString(context.staticPart->executable.uuid, uuid);
            file.setProcessingExecutableUUID(uuid);
            file.symbolicateWithUUIDMap(CrashlogContextUUIDMap());
        });
    }
    if (m_lastSessionWasCrash && m_delegate) {
        core::DispatchQueue::main()->async([this, report = std::make_shared<CLGCrashFile>(file)] {
            if (m_delegate)
                m_delegate->crashlogDidDetectCrashDuringPreviousExecution(*this, *report);
        });
    }
}

void Crashlog::controllerCollectProcesses(CLGSDKController&, bool collect) {
    m_collectProcesses = collect;
    if (!collect)
        return;
    onContextQueue([](CLGCaptureMutablePart& part) { CLGProcessListRefresh(part.processes); });
    core::DispatchQueue::main()->async([this] {
        if (m_thirtySecondTimer)
            return;
        m_thirtySecondTimer =
            core::Timer::schedule(kProcessListInterval, core::Timer::Repeat::Repeating,
                                  [this](core::Timer&) { updateThirtySecondIntervalData(); });
    });
}

void Crashlog::updateThirtySecondIntervalData() {
    if (m_collectProcesses)
        onContextQueue([](CLGCaptureMutablePart& part) { CLGProcessListRefresh(part.processes); });
}

std::string Crashlog::bundleIdForClient(const CLGClient&) {
    return CLGBundleIdentifier(*core::sharedInfoDictionary());
}

std::optional<std::string> Crashlog::applicationNameForClient(const CLGClient&) {
    return CLGApplicationName(*core::sharedInfoDictionary());
}

std::optional<std::string> Crashlog::bundleVersionForClient(const CLGClient&) {
    return CLGBundleVersion(*core::sharedInfoDictionary());
}

std::optional<std::string> Crashlog::shortBundleVersionForClient(const CLGClient&) {
    return CLGShortBundleVersion(*core::sharedInfoDictionary());
}

std::optional<CLGExecutableSlices> Crashlog::executableSlicesForClient(const CLGClient&) {
    return CrashlogContextExecutableSlices();
}

std::optional<std::string> Crashlog::minimumSDKVersionForClient(const CLGClient&) {
    return CrashlogContextMinimumOSVersion();
}

std::optional<std::string> Crashlog::builtSDKVersionForClient(const CLGClient&) {
    return CrashlogContextSDKVersion();
}

core::Array Crashlog::eventArrayForClient(const CLGClient&) {
    return CLGConversionEventArray(CLGConversionSource::fromCaptureContext()).value_or(core::Array());
}

void Crashlog::removeInstallEventKeyForClient(const CLGClient&) {
    if (!CLGCaptureContextIsReady() || !CLGCaptureContextShared().staticPart->conversionTracking)
        return;
    core::UserDefaults& defaults = core::UserDefaults::standard();
    if (!defaults.contains(kCLGInstallEventKey))
        return;
    defaults.removeObject(kCLGInstallEventKey);
    defaults.synchronize();
}

std::optional<CLGIcon> Crashlog::iconForClient(const CLGClient&) {
    return CLGSDKController::applicationIcon();
}

core::Dictionary Crashlog::identificationDictionaryForClient(const CLGClient&) {
    return CrashlogContextIdentification();
}

} // namespace zm
