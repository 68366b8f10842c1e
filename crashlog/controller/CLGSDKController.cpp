#include "crashlog/controller/CLGSDKController.h"

#include "crashlog/controller/CLGApplicationIcon.h"
#include "crashlog/log/CLGLog.h"
#include "crashlog/report/CLGCrashFile.h"
#include "platform/core/Digest.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Files.h"
#include "platform/core/InfoPlist.h"

#include <cmath>
#include <system_error>

namespace zm {

namespace {

// A settings answer with its nulls dropped: a null reads as absent anyway, and has no property-list
// form, so keeping it would stop the answer from being cached at all.
core::Value withoutNulls(const core::Value& value) {
    if (const core::Dictionary* dictionary = value.asDictionary()) {
        core::Dictionary kept;
        for (const auto& [key, entry] : dictionary->entries()) {
            if (!entry.isNull())
                kept.set(key, withoutNulls(entry));
        }
        return kept;
    }
    if (const core::Array* array = value.asArray()) {
        core::Array kept;
        for (const core::Value& entry : *array) {
            if (!entry.isNull())
                kept.push_back(withoutNulls(entry));
        }
        return kept;
    }
    return value;
}

} // namespace

std::shared_ptr<CLGSDKController> CLGSDKController::create(std::filesystem::path crashDirectory, std::string endpoint) {
    return std::make_shared<CLGSDKController>(std::move(crashDirectory), std::move(endpoint));
}

CLGSDKController::CLGSDKController(std::filesystem::path crashDirectory, std::string endpoint)
    : m_cachePath(std::move(crashDirectory))
    , m_endpoint(std::move(endpoint))
    , m_queue(core::DispatchQueue::serial("com.crashlog.submission")) {}

std::filesystem::path CLGSDKController::settingsCachePath() const {
    return m_cachePath / core::sha1Hex(m_endpoint) / "settings.plist";
}

bool CLGSDKController::createDirectoryAtPath(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (!error)
        std::filesystem::permissions(path, std::filesystem::perms(0755), error);
    if (error) {
        CLGDebugLog("[Crashlog] Unable to create directory %s", error.message().c_str());
        return false;
    }
    return true;
}

bool CLGSDKController::moveItemAtPath(const std::filesystem::path& path, const std::filesystem::path& directory) {
    if (path.empty() || directory.empty()) {
        CLGDebugLog("[Crashlog] Failed to move file, inputs invalid");
        return false;
    }
    std::error_code error;
    std::filesystem::rename(path, directory / path.filename(), error);
    if (error) {
        CLGDebugLog("[Crashlog] Failed to move file: %s", error.message().c_str());
        return false;
    }
    return true;
}

bool CLGSDKController::removeItemAtPath(const std::filesystem::path& path) {
    std::error_code error;
    const bool removed = !path.empty() && std::filesystem::remove(path, error);
    if (!removed)
        CLGDebugLog("[Crashlog] Failed to remove file '%s' : %s", path.c_str(), error ? error.message().c_str() : "(null)");
    return removed;
}

void CLGSDKController::enumerateFilesInDirectory(const std::filesystem::path& directory,
                                                 const std::function<void(const std::filesystem::path&, const std::string&)>& block) {
    const auto entries = core::listDirectory(directory);
    if (!entries)
        return;
    for (const core::DirectoryEntry& entry : *entries) {
        const std::filesystem::path path = directory / entry.name;
        const std::string extension = path.extension().string();
        block(path, extension.empty() ? extension : extension.substr(1));
    }
}

bool CLGSDKController::moveItemsFromDirectory(const std::filesystem::path& from, const std::filesystem::path& to) {
    bool moved = true;
    enumerateFilesInDirectory(from, [&](const std::filesystem::path& path, const std::string&) {
        if (moved)
            moved = moveItemAtPath(path, to);
    });
    return moved;
}

bool CLGSDKController::ensureReasonableFileAtPath(const std::filesystem::path& path) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        CLGDebugLog("[Crashlog] Could not get file attributes for %s %s", path.c_str(), error.message().c_str());
        return false;
    }
    if (size <= kLargestReasonableFile)
        return true;
    CLGDebugLog("[Crashlog] File too large to submit %s", path.c_str());
    if (!std::filesystem::remove(path, error)) {
        CLGDebugLog("[Crashlog] Unable to remove file at path %s %s", path.c_str(), error.message().c_str());
        return false;
    }
    if (const core::Status written = core::writeFileAtomically(path, "Original file size: " + std::to_string(size) + "\n"); !written) {
        CLGDebugLog("[Crashlog] Unable to write large file marker at %s %s", path.c_str(), written.error().text().c_str());
        return false;
    }
    return true;
}

std::optional<CLGIcon> CLGSDKController::applicationIcon() {
    return CLGApplicationIconFrom(*core::sharedInfoDictionary(), core::FileLocations::shared().resources);
}

bool CLGSDKController::setup() {
    for (const auto& directory : {processingDirectory(), preparedDirectory(), invalidDirectory(), sendableDirectory()}) {
        if (!createDirectoryAtPath(directory))
            return false;
    }
    return true;
}

void CLGSDKController::afterSeconds(double seconds, std::function<void()> work) {
    if (seconds <= 0)
        m_queue->async(std::move(work));
    else
        m_queue->after(core::fromSeconds(seconds), std::move(work));
}

void CLGSDKController::beginStartupFlowAfterDelay(double delay) {
    m_queue->async([self = shared_from_this(), delay] {
        self->m_delay = delay;
        self->m_settings = CLGSettings::initWithCachePath(self->settingsCachePath());
        if (self->shouldLoadSettings())
            self->loadSettings([self] { self->onboardOrStartReportColletion(); });
        else
            self->startReportingAfterDelay(delay);
    });
}

bool CLGSDKController::shouldLoadSettings() const {
    return !m_settings || CLGDebugMode() || m_settings->isOutdated();
}

void CLGSDKController::loadSettings(std::function<void()> completion) {
    m_queue->async([self = shared_from_this(), completion = std::move(completion)] {
        if (self->m_retrying)
            return;
        CLGDebugLog("[Crashlog] Loading settings");
        if (!self->m_client) {
            self->settingsFailed(completion);
            return;
        }
        self->m_client->loadSettingsFromURL(std::nullopt, [self, completion](std::optional<core::Dictionary> settings,
                                                                             std::optional<core::Error> error) {
            self->m_queue->async([self, completion, settings = std::move(settings), error = std::move(error)] {
                if (settings && !error)
                    self->settingsLoaded(*settings, completion);
                else
                    self->settingsFailed(completion);
            });
        });
    });
}

void CLGSDKController::settingsLoaded(const core::Dictionary& document, const std::function<void()>& completion) {
    m_retrying = false;
    if (!createDirectoryAtPath(settingsCachePath().parent_path()))
        return;
    const core::Value cleaned = withoutNulls(document);
    if (!CLGSettings::writeSettings(cleaned.asDictionary(), settingsCachePath())) {
        // Settings that cannot be kept would leave everything waiting on them: try again later.
        CLGDebugLog("[Crashlog] Could not cache settings to disk");
        settingsFailed(completion);
        return;
    }
    m_settings = CLGSettings::initWithCachePath(settingsCachePath());
    CLGDebugLog("[Crashlog] Settings loaded");
    if (completion)
        completion();
}

void CLGSDKController::settingsFailed(const std::function<void()>& completion) {
    CLGDebugLog("[Crashlog] Failed to load settings");
    CLGDebugLog("[Crashlog] Settings load scheduled (%lld)", static_cast<long long>(kSettingsRetryDelay));
    m_retrying = true;
    afterSeconds(kSettingsRetryDelay, [self = shared_from_this(), completion] {
        self->m_retrying = false;
        self->loadSettings(completion);
    });
}

void CLGSDKController::onboardOrStartReportColletion() {
    if (m_settings && m_settings->appNeedsOnboarding()) {
        CLGDebugLog("[Crashlog] Application not yet configured");
        configure(true);
        return;
    }
    if (m_settings && m_settings->requiresUpdate())
        configure(false);
    startReportCollection();
}

void CLGSDKController::configure(bool asNewApp) {
    CLGDebugLog("[Crashlog] Configuring application");
    if (!m_client)
        return;
    const std::optional<std::string> url = m_settings ? m_settings->appURL() : std::nullopt;
    m_client->configureApplicationUsingURL(url, asNewApp, [self = shared_from_this(), asNewApp](std::optional<core::Error> error) {
        if (error) {
            CLGDebugLog("[Crashlog] failed to configure %s", error->text().c_str());
            self->afterSeconds(kConfigureRetryDelay, [self, asNewApp] { self->configure(asNewApp); });
            return;
        }
        CLGDebugLog("[Crashlog] Configured application");
        self->loadSettings();
    });
}

void CLGSDKController::startReportCollection() {
    if (m_settings && m_settings->shouldCollectCrashReports()) {
        startReportingAfterDelay(m_delay);
        return;
    }
    CLGDebugLog("[Crashlog] Crash report collection disabled");
}

void CLGSDKController::startReportingAfterDelay(double delay) {
    CLGDebugLog("[Crashlog] Starting report processing in %.01f second(s)...", delay);
    afterSeconds(std::trunc(delay), [self = shared_from_this()] { self->processExistingRecords(false); });
}

void CLGSDKController::processExistingRecords(bool alreadyPermitted) {
    if (!moveItemsFromDirectory(processingDirectory(), invalidDirectory())) {
        CLGDebugLog("[Crashlog] Unable to move preexisting crashes, reporting cannot continue safely.");
        return;
    }
    bool succeeded = true;
    enumerateFilesInDirectory(m_cachePath, [&](const std::filesystem::path& path, const std::string& extension) {
        const bool crashFile = extension == "clgrecord" || extension == "clglog";
        // This run's files are its own crash record and log, written (if ever) by a crash that may
        // come while this pass runs: never earlier records.
        const bool thisRun = !m_currentSessionBaseName.empty() && path.stem() == m_currentSessionBaseName;
        if (crashFile && !thisRun && !path.filename().string().ends_with("session.clglog") && succeeded)
            succeeded = moveItemAtPath(path, processingDirectory());
    });
    enumerateFilesInDirectory(processingDirectory(), [&](const std::filesystem::path& path, const std::string& extension) {
        if (extension != "clgrecord")
            return;
        if (const auto report = processRecordFile(path)) {
            CLGDebugLog("[Crashlog] Processed file successfully");
            if (succeeded)
                succeeded = moveItemAtPath(*report, preparedDirectory());
            return;
        }
        moveItemAtPath(path, invalidDirectory());
        std::filesystem::path log = path;
        log.replace_extension("clglog");
        if (std::filesystem::exists(log))
            moveItemAtPath(log, invalidDirectory());
    });
    submitInvalidFiles();

    const auto prepared = core::listDirectory(preparedDirectory());
    if (!prepared || prepared->empty()) {
        CLGDebugLog("[Crashlog] No prepared files found, submission process complete");
        return;
    }
    if (m_settings && m_settings->shouldRequestPermissionToSubmit() && !alreadyPermitted) {
        displayPermissionAlert();
        return;
    }
    if (!moveItemsFromDirectory(preparedDirectory(), sendableDirectory())) {
        CLGDebugLog("[Crashlog] Unable to move processed crashes to outbox");
        return;
    }
    submitFiles();
}

std::optional<std::filesystem::path> CLGSDKController::processRecordFile(const std::filesystem::path& recordPath) {
    if (!ensureReasonableFileAtPath(recordPath)) {
        CLGDebugLog("[Crashlog] Unable to safely read file at %s", recordPath.c_str());
        return std::nullopt;
    }
    std::filesystem::path reportPath = recordPath;
    reportPath.replace_extension("clg");
    std::filesystem::path logPath = recordPath;
    logPath.replace_extension("clglog");
    CLGCrashFile file(recordPath);
    if (!file.isValid()) {
        CLGDebugLog("[Crashlog] Unable to process clgrecord file");
        return std::nullopt;
    }
    if (m_delegate)
        m_delegate->controllerWillProcessFile(*this, file);
    if (!file.writeCLSFileToPath(reportPath)) {
        CLGDebugLog("[Crashlog] Unable to write clg file");
        return std::nullopt;
    }
    std::error_code ignored;
    std::filesystem::remove(logPath, ignored);
    std::filesystem::remove(recordPath, ignored);
    return reportPath;
}

} // namespace zm
