#include "platform/documents/Document.h"

#include "platform/core/ApplicationEvents.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/Log.h"
#include "platform/documents/FileQueue.h"
#include "platform/documents/FileVersionStore.h"

#include <cerrno>

namespace documents {

Document::Document(std::filesystem::path fileURL)
    : m_fileURL(std::move(fileURL)) {
    m_terminationObservation = core::NotificationCenter::defaultCenter().addObserver(
        std::string(core::kApplicationWillTerminateNotification), nullptr,
        [this](const core::Notification&) { saveNow(); });
}

Document::~Document() = default;

std::string Document::fileType() const {
    const std::string extension = m_fileURL.extension().string();
    return extension.empty() ? extension : extension.substr(1);
}

void Document::setDocumentState(unsigned state) {
    if (state == m_state)
        return;
    m_state = state;
    core::NotificationCenter::defaultCenter().post(std::string(kStateChangedNotification), this);
}

void Document::open(Completion completion) {
    read(std::move(completion));
}

void Document::revert(Completion completion) {
    read(std::move(completion));
}

void Document::read(Completion completion) {
    const std::weak_ptr<Document> weakSelf = weak_from_this();
    FileQueue::shared().async([url = m_fileURL, weakSelf, completion = std::move(completion)] {
        core::Result<StampedContents> contents = readFileWithStamp(url);
        // Versions of the file still waiting for a choice between them leave the document in conflict.
        const bool inConflict = !FileVersionStore::shared().unresolvedConflictVersionsOfItem(url).empty();
        core::DispatchQueue::main()->async([weakSelf, contents = std::move(contents), inConflict,
                                            completion = std::move(completion)]() mutable {
            if (const std::shared_ptr<Document> document = weakSelf.lock())
                document->didRead(std::move(contents), inConflict, completion);
        });
    });
}

void Document::didRead(core::Result<StampedContents> contents, bool inConflict, const Completion& completion) {
    core::Status loaded = contents ? loadFromContents(contents->bytes, fileType()) : core::Status(contents.error());
    if (!loaded) {
        core::log(core::LogLevel::Error, "cannot read the document " + m_fileURL.string() + ": " +
                                             loaded.error().description);
        if (completion)
            completion(false);
        return;
    }
    // The version read is the one later saves may overwrite; saves asked for from now on queue after
    // this.
    FileQueue::shared().async([file = m_file, stamp = contents->stamp] { file->stamp = stamp; });
    m_hasContents = true;
    m_changeCount = 0;
    const unsigned settled = m_state & ~(DocumentStateClosed | DocumentStateSavingError | DocumentStateInConflict);
    setDocumentState(inConflict ? settled | DocumentStateInConflict : settled);
    if (completion)
        completion(true);
}

core::Result<FileStamp> Document::write(FileRecord& record, const std::filesystem::path& url,
                                        SaveOperation operation, std::string_view bytes) {
    if (operation == SaveOperation::ForCreating) {
        core::Result<FileStamp> created = createFileAtomically(url, bytes);
        if (created)
            record.stamp = *created;
        return created;
    }
    if (!record.stamp)
        return documentsError(kDocumentsErrorNotRead,
                              "will not write over " + url.string() + ": the document has not read it");
    const core::Result<FileStamp> current = stampOf(url);
    if (!current && current.error().code == ENOENT)
        return documentsError(kDocumentsErrorFileGone, "will not write " + url.string() + " again: it is gone");
    if (!current)
        return current.error();
    if (*current != *record.stamp) {
        // Their work stays in the file and ours is kept beside it, for a choice between the two.
        if (const core::Status kept = FileVersionStore::shared().addConflictVersionOfItem(url, bytes); !kept)
            core::log(core::LogLevel::Error, "cannot keep a version of " + url.string() + ": " +
                                                 kept.error().description);
        return documentsError(kDocumentsErrorFileChanged,
                              "will not write over " + url.string() + ": someone else changed it");
    }
    core::Result<FileStamp> replaced = replaceFileAtomically(url, bytes);
    if (replaced)
        record.stamp = *replaced;
    return replaced;
}

void Document::save(SaveOperation operation, Completion completion) {
    std::string bytes = contentsForType(fileType());
    const int savedChanges = m_changeCount;
    const std::weak_ptr<Document> weakSelf = weak_from_this();
    FileQueue::shared().async([file = m_file, url = m_fileURL, operation, bytes = std::move(bytes), weakSelf,
                               savedChanges, completion = std::move(completion)] {
        core::Result<FileStamp> written = write(*file, url, operation, bytes);
        core::DispatchQueue::main()->async([weakSelf, written = std::move(written), savedChanges, completion] {
            if (const std::shared_ptr<Document> document = weakSelf.lock())
                document->didSave(written, savedChanges, completion);
            else if (completion)
                completion(bool(written));
        });
    });
}

void Document::didSave(const core::Result<FileStamp>& written, int savedChanges, const Completion& completion) {
    if (!written) {
        core::log(core::LogLevel::Error, "cannot save the document: " + written.error().description);
        unsigned state = m_state | DocumentStateSavingError;
        if (written.error().domain == kDocumentsErrorDomain && written.error().code == kDocumentsErrorFileChanged)
            state |= DocumentStateInConflict;
        setDocumentState(state);
    } else {
        m_hasContents = true;
        // Changes made while the save ran are still to be saved.
        m_changeCount -= savedChanges;
        setDocumentState(m_state & ~(DocumentStateClosed | DocumentStateSavingError));
    }
    if (completion)
        completion(bool(written));
}

void Document::updateChangeCount(ChangeKind change) {
    switch (change) {
    case ChangeKind::Done:
        ++m_changeCount;
        break;
    case ChangeKind::Undone:
        --m_changeCount;
        break;
    case ChangeKind::Cleared:
        m_changeCount = 0;
        break;
    }
    if (hasUnsavedChanges())
        scheduleAutosave();
}

void Document::scheduleAutosave() {
    if (m_autosaveScheduled)
        return;
    m_autosaveScheduled = true;
    const std::weak_ptr<Document> weakSelf = weak_from_this();
    core::DispatchQueue::main()->after(core::fromSeconds(kAutosaveDelay), [weakSelf] {
        if (const std::shared_ptr<Document> document = weakSelf.lock())
            document->autosave();
    });
}

void Document::autosave() {
    m_autosaveScheduled = false;
    if (hasUnsavedChanges() && m_hasContents && !(m_state & DocumentStateInConflict))
        save(SaveOperation::ForOverwriting, {});
}

void Document::saveNow() {
    if (!hasUnsavedChanges() || !m_hasContents || (m_state & DocumentStateInConflict))
        return;
    const std::string bytes = contentsForType(fileType());
    core::Result<FileStamp> written = documentsError(kDocumentsErrorNotRead, "not written");
    FileQueue::shared().sync(
        [&] { written = write(*m_file, m_fileURL, SaveOperation::ForOverwriting, bytes); });
    didSave(written, m_changeCount, {});
}

} // namespace documents
