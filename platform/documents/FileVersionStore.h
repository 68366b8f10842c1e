#pragma once

#include "platform/core/Date.h"
#include "platform/core/Result.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace documents {

// One version of a file: the file as it stands (the current version), or bytes of it kept aside.
struct FileVersion {
    // The file itself for the current version; else where the kept bytes lie.
    std::filesystem::path url;
    core::Date modificationDate;
    bool isCurrent = false;
    // A version kept because a save found the file changed under it stays unresolved until someone
    // settles the conflict.
    bool resolved = true;

    friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// The versions of files: the current one and those kept aside, with their dates. A document whose save
// finds that another copy changed its file keeps its own bytes here as an unresolved version, so that
// whoever settles the conflict can choose between the two.
class FileVersionStore {
public:
    virtual ~FileVersionStore() = default;

    // The store of the files on this machine (LocalFileVersionStore).
    static FileVersionStore& shared();

    // The file as it stands; nothing when there is no file.
    virtual std::optional<FileVersion> currentVersionOfItem(const std::filesystem::path& item) = 0;
    // The versions kept aside, oldest first.
    virtual std::vector<FileVersion> otherVersionsOfItem(const std::filesystem::path& item) = 0;
    virtual std::vector<FileVersion> unresolvedConflictVersionsOfItem(const std::filesystem::path& item) = 0;

    // Keeps `bytes` aside as an unresolved version of the item, dated now.
    virtual core::Status addConflictVersionOfItem(const std::filesystem::path& item, std::string_view bytes) = 0;
    // Puts a kept version's bytes in the place of the file, whole or not at all; the version stays kept.
    virtual core::Status replaceItem(const std::filesystem::path& item, const FileVersion& version) = 0;
    // Forgets every version kept aside.
    virtual core::Status removeOtherVersionsOfItem(const std::filesystem::path& item) = 0;
    virtual core::Status setResolved(const FileVersion& version, bool resolved) = 0;
    // The kept versions follow a file that was moved from `from` to `to`.
    virtual core::Status moveVersionsOfItem(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
};

// Keeps the versions of a file in a hidden folder beside it (".versions/NAME/"), a file each, dated by
// its modification time and marked resolved or not by its name. Its work runs on the file queue, in
// order with the saves, moves and deletes of the files (at once when already there).
//
// Thread safety: every operation may be called from any thread.
class LocalFileVersionStore : public FileVersionStore {
public:
    static constexpr std::string_view kFolderName = ".versions";

    // The folder that keeps the versions of `item`.
    static std::filesystem::path versionsFolder(const std::filesystem::path& item);

    std::optional<FileVersion> currentVersionOfItem(const std::filesystem::path& item) override;
    std::vector<FileVersion> otherVersionsOfItem(const std::filesystem::path& item) override;
    std::vector<FileVersion> unresolvedConflictVersionsOfItem(const std::filesystem::path& item) override;
    core::Status addConflictVersionOfItem(const std::filesystem::path& item, std::string_view bytes) override;
    core::Status replaceItem(const std::filesystem::path& item, const FileVersion& version) override;
    core::Status removeOtherVersionsOfItem(const std::filesystem::path& item) override;
    core::Status setResolved(const FileVersion& version, bool resolved) override;
    core::Status moveVersionsOfItem(const std::filesystem::path& from, const std::filesystem::path& to) override;
};

} // namespace documents
