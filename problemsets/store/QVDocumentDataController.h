#pragma once

#include "platform/core/NotificationCenter.h"
#include "platform/core/Result.h"
#include "platform/documents/MetadataQuery.h"
#include "platform/ui/AlertView.h"
#include "shell/app/ProblemSetStore.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zm {

class ProblemListDocument;
class QVDocumentListener;

// The store of the player's problem sets: the list of set files the screens show, kept in the folder
// "ProblemLists" of the documents folder on the device or of the cloud folder, when there is a cloud
// and the player chose it. It offers the cloud when it is there and nothing is chosen, moves the
// device's sets into the cloud or copies the cloud's onto the device when the choice changes, watches
// the cloud folder (so sets made by another copy of the game arrive), names new and renamed sets
// uniquely, and creates, renames and deletes set files. Its listener hears when the list changed.
//
// The choice lives in the settings under "iCloud", "iCloudWasOn" and "iCloudPrompted", each written
// at once. Every refresh (at creation, after an answer that asks for one, and whenever the application
// becomes active) looks for the cloud on the file queue and applies the rules to what it found.
//
// File work (moves, copies, renames, deletes) runs on the file queue after the saves asked for before
// it; its results come back on the main queue. A move or copy never replaces a file.
//
// Main thread only; the application delegate owns the one store.
class QVDocumentDataController : public ProblemSetStore,
                                 public ui::AlertViewDelegate,
                                 public std::enable_shared_from_this<QVDocumentDataController> {
public:
    static constexpr int kCloudAvailableOfferTag = 1;
    static constexpr int kNotUsingCloudOfferTag = 2;
    static constexpr std::string_view kFolderName = "ProblemLists";

    // A new store; it refreshes at once.
    static std::shared_ptr<QVDocumentDataController> create();
    // The application delegate's store (made now when there is none), or null.
    static std::shared_ptr<QVDocumentDataController> shared();
    ~QVDocumentDataController() override;

    // ProblemSetStore: the screen becomes the listener when it is one.
    void setListener(const std::shared_ptr<TopicViewController>& screen) override;
    void setDelegate(std::weak_ptr<QVDocumentListener> listener) { m_delegate = std::move(listener); }
    std::shared_ptr<QVDocumentListener> delegate() const { return m_delegate.lock(); }

    // The sets to show, one file each.
    const std::vector<std::filesystem::path>& documentURLs() const { return m_documentURLs; }
    // The last look for the cloud found it.
    bool isCloudAvailable() const { return m_cloudAvailable; }
    // A move of the device's sets into the cloud, or a copy of the cloud's onto the device, waits for
    // the next results of the cloud's query.
    bool moveLocalToCloud() const { return m_moveLocalToCloud; }
    bool copyCloudToLocal() const { return m_copyCloudToLocal; }
    const std::shared_ptr<documents::MetadataQuery>& query() const { return m_query; }

    // The settings of the choice.
    static bool iCloudOn();
    static void setiCloudOn(bool on);
    static bool iCloudWasOn();
    static void setiCloudWasOn(bool on);
    static bool iCloudPrompted();
    static void setiCloudPrompted(bool prompted);

    void refreshDocuments();

    // Names and folders.
    static std::string getFilenameExtension();
    static std::string getFilenameDefaultPrefix();
    // A file name, with its extension, that neither a listed set nor a file of the folder in use has.
    std::string getUniqueIncrementOfFilename(std::string_view base) const;
    std::string getUniqueFilename() const;
    // The folders, made when missing; nothing when they cannot be had.
    static std::optional<std::filesystem::path> getLocalDocumentsDirectory();
    static std::optional<std::filesystem::path> getiCloudDocumentsDirectory();
    // The cloud's folder while the cloud is there and chosen, else the device's.
    std::optional<std::filesystem::path> getDocumentsDirectory() const;

    // Listing.
    void loadDocumentURLs();
    static std::optional<std::vector<std::filesystem::path>> getLocalDocuments();
    static std::optional<std::vector<std::filesystem::path>> getCloudDocuments();
    void setupAndStartQuery();
    void processFiles(const std::vector<documents::MetadataQuery::Item>& results);

    // Sets.
    // The place of a new set, at the end of the list; no file is written. Nothing without a folder.
    std::optional<std::filesystem::path> createNewDocument();
    // Takes a listed set out of the list and deletes its file (after the saves asked for before).
    void deleteDocumentAtURL(const std::filesystem::path& url);
    // Moves the document's file to a unique file name made of `name`; the completion hears the new place,
    // or nothing when the file could not be moved. The document keeps its old place.
    void renameDocument(const std::shared_ptr<ProblemListDocument>& document, std::string_view name,
                        std::function<void(std::optional<std::filesystem::path>)> completion);

    // The cloud choices.
    void localToiCloud();
    void iCloudToLocal();
    void localToiCloudImpl();
    void iCloudToLocalImpl();
    void alertViewDidDismiss(ui::AlertView& alert, int buttonIndex) override;

private:
    QVDocumentDataController();

    // The rules, with what the look for the cloud found.
    void applyCloudRules(bool available);
    void stopQuery();
    void tellListener();
    // A file name of `base` free in `folder`, in the list and among `reserved`.
    std::string uniqueName(std::string_view base, const std::optional<std::filesystem::path>& folder,
                           const std::set<std::string>& reserved) const;
    // Adds `url` to the list (once) and tells the listener.
    void arrived(const std::filesystem::path& url);
    // Moves or copies each set into `folder` under a unique name, on the file queue; each that lands is
    // added to the list, each that does not is logged with `failure` (from, to, why).
    using Transfer = std::function<core::Status(const std::filesystem::path& from, const std::filesystem::path& to)>;
    void migrate(const std::vector<std::filesystem::path>& sets, const std::filesystem::path& folder,
                 Transfer transfer, const char* failure);

    std::vector<std::filesystem::path> m_documentURLs;
    std::weak_ptr<QVDocumentListener> m_delegate;
    bool m_cloudAvailable = false;
    bool m_moveLocalToCloud = false;
    bool m_copyCloudToLocal = false;
    std::shared_ptr<documents::MetadataQuery> m_query;
    core::NotificationCenter::Observation m_becameActive;
};

} // namespace zm
