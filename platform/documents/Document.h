#pragma once

#include "platform/core/NotificationCenter.h"
#include "platform/core/Result.h"
#include "platform/documents/FileOperations.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace documents {

enum class SaveOperation {
    ForCreating,    // writes a new file; never replaces one
    ForOverwriting, // writes the file the document has read or written, while it is still that file
};

enum class ChangeKind { Done, Undone, Cleared };

// The flags of a document's state; Normal is none of them.
enum DocumentState : unsigned {
    DocumentStateNormal = 0,
    DocumentStateClosed = 1 << 0,      // not read yet (or its reading failed)
    DocumentStateInConflict = 1 << 1,  // another copy wrote the file since this one read it
    DocumentStateSavingError = 1 << 2, // the last save failed
};

// The contents of one file, kept in memory by a subclass that turns them into bytes and back.
//
// Reading and writing go through the file queue (FileQueue), in the order asked for; completions come
// back on the main queue. Writes are whole or nothing. A document remembers which version of its file
// it read or wrote last (FileStamp) and overwrites only that version: it never writes over a file it
// has not read, never brings back a file that was deleted or moved away, and when someone else wrote
// the file in between it goes in conflict instead of writing over their work, keeping its own bytes as
// an unresolved version of the file (FileVersionStore). Reading the file again leaves the conflict
// once no unresolved version is left.
//
// Changes are counted; a document with changes saves itself soon after each change and when the
// application terminates. Every change of state is posted as kStateChangedNotification, with the
// document as sender, on the main thread.
//
// Main thread only.
class Document : public std::enable_shared_from_this<Document> {
public:
    using Completion = std::function<void(bool success)>;

    static constexpr std::string_view kStateChangedNotification = "DocumentStateChanged";
    // From a change to the save it causes.
    static constexpr double kAutosaveDelay = 2.0;

    virtual ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const std::filesystem::path& fileURL() const { return m_fileURL; }
    // A name for the document that the platform supplies; none here.
    virtual std::optional<std::string> localizedName() const { return std::nullopt; }
    // The type handed to the subclass: the file's extension, without its point.
    std::string fileType() const;

    unsigned documentState() const { return m_state; }
    bool hasUnsavedChanges() const { return m_changeCount != 0; }
    // Whether the document holds its file's contents: it has read, reverted to or written the file.
    bool hasContents() const { return m_hasContents; }

    // Reads the file into the document.
    void open(Completion completion);
    // Writes the document's contents to its file.
    void save(SaveOperation operation, Completion completion);
    // Reads the file again, dropping the changes not saved.
    void revert(Completion completion);

    void updateChangeCount(ChangeKind change);

protected:
    explicit Document(std::filesystem::path fileURL);

    // The file's bytes for the document's contents.
    virtual std::string contentsForType(std::string_view type) = 0;
    // Replaces the contents by what `bytes` hold; an error leaves the document as it was.
    virtual core::Status loadFromContents(std::string_view bytes, std::string_view type) = 0;

    void setDocumentState(unsigned state);

private:
    // What the file queue knows of the file; touched only there.
    struct FileRecord {
        std::optional<FileStamp> stamp; // of the version the document read or wrote last
    };

    static core::Result<FileStamp> write(FileRecord& record, const std::filesystem::path& url,
                                         SaveOperation operation, std::string_view bytes);
    void read(Completion completion);
    void didRead(core::Result<StampedContents> read, bool inConflict, const Completion& completion);
    void didSave(const core::Result<FileStamp>& written, int savedChanges, const Completion& completion);
    void scheduleAutosave();
    void autosave();
    // At termination: writes the changes before returning.
    void saveNow();

    const std::filesystem::path m_fileURL;
    std::shared_ptr<FileRecord> m_file = std::make_shared<FileRecord>();
    unsigned m_state = DocumentStateClosed;
    int m_changeCount = 0;
    bool m_hasContents = false;
    bool m_autosaveScheduled = false;
    core::NotificationCenter::Observation m_terminationObservation;
};

} // namespace documents
