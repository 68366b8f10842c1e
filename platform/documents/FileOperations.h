#pragma once

#include "platform/core/Result.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace documents {

inline constexpr std::string_view kDocumentsErrorDomain = "documents";
enum DocumentsErrorCode : long {
    kDocumentsErrorFileExists = 1,  // a new file or a move would replace one that is there
    kDocumentsErrorNotRead = 2,     // a document would overwrite a file it has not read
    kDocumentsErrorFileGone = 3,    // the file a document read is no longer there
    kDocumentsErrorFileChanged = 4, // someone else wrote the file since the document read it
    kDocumentsErrorUnreadable = 5,  // the contents are not what the document's kind reads
};

core::Error documentsError(DocumentsErrorCode code, std::string description);

// Which file a path names and which of its versions: a file replaced by another (an atomic write,
// someone else's save) or written again has another stamp.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

core::Result<FileStamp> stampOf(const std::filesystem::path& path);

struct StampedContents {
    std::string bytes;
    FileStamp stamp;
};
// The file's bytes and the stamp of the very file they were read from.
core::Result<StampedContents> readFileWithStamp(const std::filesystem::path& path);

// Writes a new file whole or not at all, never replacing one that is there (kDocumentsErrorFileExists).
core::Result<FileStamp> createFileAtomically(const std::filesystem::path& path, std::string_view bytes);
// Replaces the file whole or not at all (a failure keeps the old file).
core::Result<FileStamp> replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Moves a file or folder to `to`, failing with kDocumentsErrorFileExists rather than replacing what is
// there (a plain rename would). A file moved to another file system is copied whole, then removed.
core::Status moveItemWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes a file, or a folder with everything in it.
core::Status removeItem(const std::filesystem::path& path);

} // namespace documents
