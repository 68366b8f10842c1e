#include "crashlog/controller/CLGSDKController.h"

#include "crashlog/log/CLGLog.h"
#include "platform/core/Files.h"

#include <algorithm>

namespace zm {

bool CLGSDKController::isARejectedError(const std::optional<core::Error>& error) {
    return error && error->domain == kCLGClientErrorDomain && error->code == static_cast<long>(CLGClientError::ReportRefused);
}

std::optional<std::string> CLGSDKController::reportsURL() const {
    return m_settings ? m_settings->reportsURL() : std::nullopt;
}

void CLGSDKController::displayPermissionAlert() {
    if (!m_settings)
        return;
    CLGAlert alert{m_settings->interactivePromptTitle(), m_settings->interactivePromptMessage(),
                   m_settings->interactivePromptCancelTitle(), {m_settings->interactivePromptSendTitle()}};
    if (m_settings->shouldIncludeInteractiveAlwaysSendOption())
        alert.buttonTitles.push_back(m_settings->interactivePromptAlwaysSendTitle());
    CLGDebugLog("[Crashlog] Displaying permission alert");
    m_sendButtonIndex = kNoButton;
    m_alwaysSendButtonIndex = kNoButton;
    if (!m_alertPresenter) {
        // Nobody can ask the user: the reports stay prepared and the next start asks again.
        CLGDebugLog("[Crashlog] No way to ask for permission; the reports wait");
        return;
    }
    // The indices are stored on the controller's queue before the alert is shown, so that an answer
    // is always compared with them.
    const int32_t send = 1;
    const int32_t always = alert.buttonTitles.size() > 1 ? 2 : kNoButton;
    m_sendButtonIndex = send;
    m_alwaysSendButtonIndex = always;
    core::DispatchQueue::main()->async([self = shared_from_this(), alert] {
        self->m_alertPresenter->presentAlert(alert, [self](int index) {
            self->m_queue->async([self, index] { self->alertClicked(index); });
        });
    });
}

void CLGSDKController::alertClicked(int index) {
    if (index == CLGAlertPresenter::kCancelButtonIndex)
        ignoreReports();
    else
        submitReportsSettingAlwaysFlag(index == m_alwaysSendButtonIndex);
}

void CLGSDKController::submitReportsSettingAlwaysFlag(bool always) {
    if (always)
        CLGSettings::setUserDesiresReportsAlwaysBeSent(true);
    if (!moveItemsFromDirectory(preparedDirectory(), sendableDirectory())) {
        CLGDebugLog("[Crashlog] Unable to move processed crashes to outbox");
        return;
    }
    submitFiles();
}

void CLGSDKController::ignoreReports() {
    CLGDebugLog("[Crashlog] Ignoring Reports");
    for (const auto& directory : {preparedDirectory(), sendableDirectory()})
        enumerateFilesInDirectory(directory, [](const std::filesystem::path& path, const std::string&) { removeItemAtPath(path); });
}

void CLGSDKController::submitFiles() {
    const auto sendable = core::listDirectory(sendableDirectory());
    if (!sendable) {
        CLGDebugLog("[Crashlog] Unable to get sendable files");
        return;
    }
    if (sendable->empty()) {
        CLGDebugLog("[Crashlog] No sendable files, submission process complete");
        core::DispatchQueue::main()->async([self = shared_from_this()] {
            if (self->m_delegate)
                self->m_delegate->controllerCompletedSubmissions(*self);
        });
        return;
    }
    CLGDebugLog("[Crashlog] Submitting files");
    const std::filesystem::path file = sendableDirectory() / sendable->front().name;
    if (!ensureReasonableFileAtPath(file) || !m_client) {
        retrySubmission();
        return;
    }
    m_client->submitCLSFileAtPath(file, reportsURL(), [self = shared_from_this(), file](std::optional<core::Error> error) {
        self->m_queue->async([self, file, error] {
            if (!error) {
                self->m_retryInterval = kInitialRetryInterval;
                CLGDebugLog("[Crashlog] Submitted file successfully");
                if (removeItemAtPath(file))
                    self->submitFiles();
            } else if (isARejectedError(error)) {
                CLGDebugLog("[Crashlog] Submission rejected");
                moveItemAtPath(file, self->invalidDirectory());
                self->submitFiles();
            } else {
                self->retrySubmission();
            }
        });
    });
}

void CLGSDKController::retrySubmission() {
    CLGDebugLog("[Crashlog] Submission retry scheduled (%lld)", static_cast<long long>(m_retryInterval));
    afterSeconds(static_cast<double>(m_retryInterval), [self = shared_from_this()] {
        self->m_retryInterval = std::min(self->m_retryInterval * 2, kLongestRetryInterval);
        // The reload refreshes the reports URL; the upload then goes on from sendable, where the report
        // waits (a new processing pass alone would only send what is newly prepared).
        self->loadSettings([self] {
            if (self->m_settings && self->m_settings->shouldCollectCrashReports())
                self->submitFiles();
            else
                CLGDebugLog("[Crashlog] Crash report collection disabled");
        });
    });
}

void CLGSDKController::submitInvalidFiles() {
    std::vector<std::filesystem::path> files;
    enumerateFilesInDirectory(invalidDirectory(), [&](const std::filesystem::path& path, const std::string&) {
        if (!path.filename().string().starts_with("."))
            files.push_back(path);
    });
    if (files.empty()) {
        CLGDebugLog("[Crashlog] Alternate file submission complete");
        return;
    }
    CLGDebugLog("[Crashlog] Submitting alternate files");
    const std::filesystem::path file = files.front();
    const auto retry = [self = shared_from_this()] {
        CLGDebugLog("[Crashlog] Alternate submission retry scheduled (%lld)", static_cast<long long>(kInvalidRetryDelay));
        self->afterSeconds(kInvalidRetryDelay, [self] { self->submitInvalidFiles(); });
    };
    if (!ensureReasonableFileAtPath(file) || !m_client) {
        retry();
        return;
    }
    m_client->submitInvalidRecordAtPath(file, reportsURL(), [self = shared_from_this(), file, retry](std::optional<core::Error> error) {
        self->m_queue->async([self, file, error, retry] {
            if (error && !isARejectedError(error)) {
                retry();
                return;
            }
            CLGDebugLog(error ? "[Crashlog] Alternate file rejected by server, giving up"
                              : "[Crashlog] Submitted alternate file successfully");
            if (removeItemAtPath(file))
                self->submitInvalidFiles();
        });
    });
}

} // namespace zm
