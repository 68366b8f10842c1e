#include "problemsets/store/QVDocumentDataController.h"

#include "platform/core/ApplicationEvents.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Files.h"
#include "platform/core/Log.h"
#include "platform/core/UserDefaults.h"
#include "platform/documents/FileOperations.h"
#include "platform/documents/FileQueue.h"
#include "platform/documents/FileVersionStore.h"
#include "problemsets/documents/ProblemListDocument.h"
#include "problemsets/store/QVDocumentListener.h"
#include "problemsets/store/SetFileNames.h"
#include "shell/app/AppDelegate.h"
#include "shell/screens/TopicViewController.h"

#include <algorithm>

namespace zm {

namespace {

bool boolSetting(std::string_view key) {
    return core::UserDefaults::standard().boolForKey(key);
}

void setBoolSetting(bool value, std::string_view key) {
    core::UserDefaults& defaults = core::UserDefaults::standard();
    defaults.setBool(value, key);
    defaults.synchronize();
}

// `container`/ProblemLists, made when missing; nothing (logged with `failure`) when it cannot be.
std::optional<std::filesystem::path> setFolderIn(const std::filesystem::path& container, const char* failure) {
    const std::filesystem::path folder = container / QVDocumentDataController::kFolderName;
    if (const core::Status made = core::createDirectories(folder); !made) {
        core::logf(core::LogLevel::Error, failure, made.error().description.c_str());
        return std::nullopt;
    }
    return folder;
}

std::optional<std::vector<std::filesystem::path>> setFilesOrLog(const std::optional<std::filesystem::path>& folder) {
    if (!folder)
        return std::nullopt;
    core::Result<std::vector<std::filesystem::path>> urls =
        setFilesIn(*folder, QVDocumentDataController::getFilenameExtension());
    if (!urls) {
        core::logf(core::LogLevel::Error, "failed to get documents directory contents: %s",
                   urls.error().description.c_str());
        return std::nullopt;
    }
    return std::move(*urls);
}

} // namespace

std::shared_ptr<QVDocumentDataController> QVDocumentDataController::create() {
    std::shared_ptr<QVDocumentDataController> store(new QVDocumentDataController);
    const std::weak_ptr<QVDocumentDataController> weakStore = store;
    store->m_becameActive = core::NotificationCenter::defaultCenter().addObserver(
        std::string(core::kApplicationDidBecomeActiveNotification), nullptr, [weakStore](const core::Notification&) {
            if (const std::shared_ptr<QVDocumentDataController> alive = weakStore.lock())
                alive->refreshDocuments();
        });
    store->refreshDocuments();
    return store;
}

std::shared_ptr<QVDocumentDataController> QVDocumentDataController::shared() {
    AppDelegate* application = AppDelegate::shared();
    if (!application)
        return nullptr;
    application->loadProblems();
    return std::dynamic_pointer_cast<QVDocumentDataController>(application->dataController());
}

QVDocumentDataController::QVDocumentDataController() = default;

QVDocumentDataController::~QVDocumentDataController() {
    stopQuery();
}

void QVDocumentDataController::setListener(const std::shared_ptr<TopicViewController>& screen) {
    if (auto listener = std::dynamic_pointer_cast<QVDocumentListener>(screen))
        m_delegate = listener;
}

void QVDocumentDataController::tellListener() {
    if (const std::shared_ptr<QVDocumentListener> listener = delegate())
        listener->documentListUpdated();
}

bool QVDocumentDataController::iCloudOn() {
    return boolSetting("iCloud");
}

void QVDocumentDataController::setiCloudOn(bool on) {
    setBoolSetting(on, "iCloud");
}

bool QVDocumentDataController::iCloudWasOn() {
    return boolSetting("iCloudWasOn");
}

void QVDocumentDataController::setiCloudWasOn(bool on) {
    setBoolSetting(on, "iCloudWasOn");
}

bool QVDocumentDataController::iCloudPrompted() {
    return boolSetting("iCloudPrompted");
}

void QVDocumentDataController::setiCloudPrompted(bool prompted) {
    setBoolSetting(prompted, "iCloudPrompted");
}

std::string QVDocumentDataController::getFilenameExtension() {
    return ProblemListDocument::filenameExtension();
}

std::string QVDocumentDataController::getFilenameDefaultPrefix() {
    return ProblemListDocument::defaultFilenamePrefix();
}

std::string QVDocumentDataController::uniqueName(std::string_view base,
                                                 const std::optional<std::filesystem::path>& folder,
                                                 const std::set<std::string>& reserved) const {
    // The folder is asked too: a file that is not listed (another copy's, one whose move failed) is
    // never to be written over.
    return uniqueIncrementOfFilename(base, getFilenameExtension(), [&](const std::string& name) {
        std::error_code code;
        return reserved.contains(name) ||
               std::any_of(m_documentURLs.begin(), m_documentURLs.end(),
                           [&](const std::filesystem::path& url) { return url.filename() == name; }) ||
               (folder && std::filesystem::exists(*folder / name, code));
    });
}

std::string QVDocumentDataController::getUniqueIncrementOfFilename(std::string_view base) const {
    return uniqueName(base, getDocumentsDirectory(), {});
}

std::string QVDocumentDataController::getUniqueFilename() const {
    return getUniqueIncrementOfFilename(getFilenameDefaultPrefix());
}

std::optional<std::filesystem::path> QVDocumentDataController::getLocalDocumentsDirectory() {
    return setFolderIn(core::FileLocations::shared().documents, "failed to create docs dir %s");
}

std::optional<std::filesystem::path> QVDocumentDataController::getiCloudDocumentsDirectory() {
    const std::optional<std::filesystem::path> container = core::FileLocations::shared().availableCloudContainer();
    if (!container)
        return std::nullopt;
    return setFolderIn(*container, "failed to create iCloud docs dir %s");
}

std::optional<std::filesystem::path> QVDocumentDataController::getDocumentsDirectory() const {
    if (m_cloudAvailable && iCloudOn())
        return getiCloudDocumentsDirectory();
    return getLocalDocumentsDirectory();
}

void QVDocumentDataController::loadDocumentURLs() {
    std::optional<std::vector<std::filesystem::path>> urls = setFilesOrLog(getDocumentsDirectory());
    if (!urls)
        return;
    m_documentURLs = std::move(*urls);
    tellListener();
}

std::optional<std::vector<std::filesystem::path>> QVDocumentDataController::getLocalDocuments() {
    return setFilesOrLog(getLocalDocumentsDirectory());
}

std::optional<std::vector<std::filesystem::path>> QVDocumentDataController::getCloudDocuments() {
    return setFilesOrLog(getiCloudDocumentsDirectory());
}

void QVDocumentDataController::arrived(const std::filesystem::path& url) {
    if (std::find(m_documentURLs.begin(), m_documentURLs.end(), url) == m_documentURLs.end())
        m_documentURLs.push_back(url);
    tellListener();
}

std::optional<std::filesystem::path> QVDocumentDataController::createNewDocument() {
    const std::optional<std::filesystem::path> folder = getDocumentsDirectory();
    if (!folder)
        return std::nullopt;
    std::filesystem::path url = *folder / getUniqueFilename();
    arrived(url);
    return url;
}

void QVDocumentDataController::deleteDocumentAtURL(const std::filesystem::path& url) {
    const auto found = std::find(m_documentURLs.begin(), m_documentURLs.end(), url);
    if (found == m_documentURLs.end())
        return;
    m_documentURLs.erase(found);
    documents::FileQueue::shared().async([url] {
        if (const core::Status removed = documents::removeItem(url); !removed)
            core::logf(core::LogLevel::Error, "failed to delete document url %s: %s", url.c_str(),
                       removed.error().description.c_str());
        if (const core::Status forgotten = documents::FileVersionStore::shared().removeOtherVersionsOfItem(url);
            !forgotten)
            core::log(core::LogLevel::Error, forgotten.error().description);
    });
}

void QVDocumentDataController::renameDocument(const std::shared_ptr<ProblemListDocument>& document,
                                              std::string_view name,
                                              std::function<void(std::optional<std::filesystem::path>)> completion) {
    const std::optional<std::filesystem::path> folder = getDocumentsDirectory();
    if (!document || !folder) {
        if (completion)
            completion(std::nullopt);
        return;
    }
    const std::filesystem::path from = document->fileURL();
    const std::filesystem::path to =
        *folder / getUniqueIncrementOfFilename(cleanSetName(name, getFilenameDefaultPrefix()));
    const std::weak_ptr<QVDocumentDataController> weakSelf = weak_from_this();
    documents::FileQueue::shared().async([weakSelf, from, to, completion = std::move(completion)] {
        const core::Status moved = documents::moveItemWithoutReplacing(from, to);
        if (moved) {
            if (const core::Status followed = documents::FileVersionStore::shared().moveVersionsOfItem(from, to);
                !followed)
                core::log(core::LogLevel::Error, followed.error().description);
        }
        core::DispatchQueue::main()->async([weakSelf, from, to, moved, completion] {
            std::optional<std::filesystem::path> result;
            if (!moved) {
                core::logf(core::LogLevel::Error, "failed to move file: %s", moved.error().description.c_str());
            } else {
                result = to;
                if (const std::shared_ptr<QVDocumentDataController> store = weakSelf.lock()) {
                    std::vector<std::filesystem::path>& urls = store->m_documentURLs;
                    if (const auto found = std::find(urls.begin(), urls.end(), from); found != urls.end()) {
                        *found = to;
                        sortByNameIgnoringCase(urls);
                    }
                }
            }
            if (completion)
                completion(result);
        });
    });
}

} // namespace zm
