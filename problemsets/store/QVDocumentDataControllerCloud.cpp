// The cloud side of the problem-set store: the rules of a refresh, the offers and their answers, the
// query over the cloud folder, and the migrations between the device and the cloud.

#include "platform/core/DispatchQueue.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Localization.h"
#include "platform/core/Log.h"
#include "platform/documents/FileOperations.h"
#include "platform/documents/FileQueue.h"
#include "problemsets/store/QVDocumentDataController.h"
#include "problemsets/store/SetFileNames.h"

namespace zm {

namespace {

core::Status copyWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    core::Result<documents::StampedContents> read = documents::readFileWithStamp(from);
    if (!read)
        return read.error();
    core::Result<documents::FileStamp> created = documents::createFileAtomically(to, read->bytes);
    return created ? core::Status() : core::Status(created.error());
}

} // namespace

void QVDocumentDataController::refreshDocuments() {
    const std::weak_ptr<QVDocumentDataController> weakSelf = weak_from_this();
    documents::FileQueue::shared().async([weakSelf] {
        const bool available = core::FileLocations::shared().availableCloudContainer().has_value();
        core::DispatchQueue::main()->async([weakSelf, available] {
            if (const std::shared_ptr<QVDocumentDataController> store = weakSelf.lock())
                store->applyCloudRules(available);
        });
    });
}

void QVDocumentDataController::applyCloudRules(bool available) {
    m_cloudAvailable = available;
    if (available && (iCloudOn() || iCloudPrompted())) {
        if (iCloudOn() && !iCloudWasOn()) {
            localToiCloud();
        } else if (!iCloudOn() && iCloudWasOn()) {
            iCloudToLocal();
        } else if (iCloudOn()) {
            // Sets left on the device by a move that failed go at the next chance.
            const std::optional<std::vector<std::filesystem::path>> left = getLocalDocuments();
            m_moveLocalToCloud = m_moveLocalToCloud || (left && !left->empty());
        }
        if (iCloudOn() && !m_copyCloudToLocal)
            setupAndStartQuery();
        setiCloudWasOn(iCloudOn());
    } else if (available) {
        setiCloudPrompted(true);
        const std::shared_ptr<ui::AlertView> offer = ui::AlertView::create(
            core::localized("iCloud is Available"),
            core::localized("Automatically store your documents in the cloud to keep them up-to-date across "
                            "all your devices and the web."),
            weak_from_this(), core::localized("Later"), {core::localized("Use iCloud")});
        offer->setTag(kCloudAvailableOfferTag);
        offer->show();
        return;
    } else {
        setiCloudPrompted(false);
        if (iCloudWasOn())
            ui::AlertView::create("You're Not Using iCloud",
                                  "Your documents were removed from this device but remain stored in iCloud.", {},
                                  "OK")
                ->show();
        setiCloudOn(false);
        setiCloudWasOn(false);
    }
    if (!iCloudOn()) {
        // The device's folder is listed; the cloud's query goes on only for a copy that waits for it.
        if (!m_copyCloudToLocal)
            stopQuery();
        loadDocumentURLs();
    }
}

void QVDocumentDataController::alertViewDidDismiss(ui::AlertView& alert, int buttonIndex) {
    if (alert.tag() == kCloudAvailableOfferTag) {
        if (buttonIndex == alert.firstOtherButtonIndex())
            setiCloudOn(true);
        refreshDocuments();
    } else if (alert.tag() == kNotUsingCloudOfferTag) {
        if (buttonIndex == alert.cancelButtonIndex()) {
            setiCloudOn(true);
            refreshDocuments();
        } else if (buttonIndex == alert.firstOtherButtonIndex()) {
            m_copyCloudToLocal = true;
            setupAndStartQuery();
        }
    }
}

void QVDocumentDataController::localToiCloud() {
    m_moveLocalToCloud = true;
    setupAndStartQuery();
}

void QVDocumentDataController::iCloudToLocal() {
    const std::shared_ptr<ui::AlertView> offer =
        ui::AlertView::create("You're Not Using iCloud",
                              "What would you like to do with the documents currently on this device?",
                              weak_from_this(), "Continue Using iCloud", {"Keep a Local Copy", "Keep on iCloud Only"});
    offer->setTag(kNotUsingCloudOfferTag);
    offer->show();
}

void QVDocumentDataController::stopQuery() {
    if (m_query)
        m_query->stop();
    m_query = nullptr;
}

void QVDocumentDataController::setupAndStartQuery() {
    stopQuery();
    const std::optional<std::filesystem::path> container = core::FileLocations::shared().availableCloudContainer();
    if (!container)
        return;
    m_query = documents::MetadataQuery::create(*container, "." + getFilenameExtension());
    const std::weak_ptr<QVDocumentDataController> weakSelf = weak_from_this();
    m_query->start([weakSelf](documents::MetadataQuery::Event, const std::vector<documents::MetadataQuery::Item>& results) {
        if (const std::shared_ptr<QVDocumentDataController> store = weakSelf.lock())
            store->processFiles(results);
    });
}

void QVDocumentDataController::processFiles(const std::vector<documents::MetadataQuery::Item>& results) {
    // With the device's folder in use the cloud's sets are not the list, unless a migration waits.
    if (!iCloudOn() && !m_moveLocalToCloud && !m_copyCloudToLocal) {
        stopQuery();
        return;
    }
    m_documentURLs.clear();
    for (const documents::MetadataQuery::Item& item : results) {
        if (item.isHidden == false)
            m_documentURLs.push_back(item.url);
    }
    if (m_copyCloudToLocal && !m_moveLocalToCloud) {
        m_copyCloudToLocal = false;
        iCloudToLocalImpl();
        return;
    }
    // The cloud's sets are shown now: a move may have nothing to bring, and then nothing would announce
    // them. The sets it brings join one by one.
    sortByNameIgnoringCase(m_documentURLs);
    tellListener();
    if (m_moveLocalToCloud) {
        m_moveLocalToCloud = false;
        localToiCloudImpl();
    }
}

void QVDocumentDataController::localToiCloudImpl() {
    const std::optional<std::vector<std::filesystem::path>> local = getLocalDocuments();
    const std::optional<std::filesystem::path> cloud = getiCloudDocumentsDirectory();
    if (local && cloud)
        migrate(*local, *cloud, documents::moveItemWithoutReplacing, "Failed to move %s to %s: %s");
}

void QVDocumentDataController::iCloudToLocalImpl() {
    const std::optional<std::vector<std::filesystem::path>> cloud = getCloudDocuments();
    const std::optional<std::filesystem::path> localFolder = getLocalDocumentsDirectory();
    m_documentURLs = getLocalDocuments().value_or(std::vector<std::filesystem::path>());
    // The device's sets are shown now, also when the cloud has none to copy.
    tellListener();
    if (cloud && localFolder)
        migrate(*cloud, *localFolder, copyWithoutReplacing, "Failed to copy %s to %s: %s");
}

void QVDocumentDataController::migrate(const std::vector<std::filesystem::path>& sets,
                                       const std::filesystem::path& folder, Transfer transfer, const char* failure) {
    // Names are made unique against what is listed, what the folder holds and what this migration
    // already gave out, as the transfers land later.
    std::set<std::string> reserved;
    for (const std::filesystem::path& from : sets) {
        const std::string name = uniqueName(from.stem().string(), folder, reserved);
        reserved.insert(name);
        const std::filesystem::path to = folder / name;
        const std::weak_ptr<QVDocumentDataController> weakSelf = weak_from_this();
        documents::FileQueue::shared().async([weakSelf, from, to, transfer, failure] {
            const core::Status moved = transfer(from, to);
            core::DispatchQueue::main()->async([weakSelf, from, to, moved, failure] {
                if (!moved)
                    core::logf(core::LogLevel::Error, failure, from.c_str(), to.c_str(),
                               moved.error().description.c_str());
                else if (const std::shared_ptr<QVDocumentDataController> store = weakSelf.lock())
                    store->arrived(to);
            });
        });
    }
}

} // namespace zm
