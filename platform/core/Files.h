#pragma once

#include "platform/core/Result.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace core {

inline constexpr std::string_view kFileErrorDomain = "core.file";

// Replaces the file's content so that, whatever happens, the file holds either its old content or
// the whole new one: the bytes go to a temporary file in the same folder, are flushed to the disk,
// and the temporary file is renamed over the old one; then the folder itself is flushed. A failure
// removes the temporary file and leaves the old file as it was. The folder must exist.
Status writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Removes the temporary files that writeFileAtomically left beside `path` when the process was killed
// between making one and renaming it. Only the one writer of a file may call it, before it writes.
void removeAbandonedTemporaries(const std::filesystem::path& path);

// Renames `from` to `to` unless something, a file or a folder, already has that name (the error's
// code is then EEXIST). Never replaces anything.
Status moveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Moves a file that cannot be read out of the way of a fresh one, keeping it for whoever can still
// recover it: under the first free name of "<file>.unreadable", "<file>.unreadable.2", ... (at most
// 100 of them). Answers the name it now has.
Result<std::filesystem::path> setAsideUnreadable(const std::filesystem::path& file);

Result<std::string> readFile(const std::filesystem::path& path);

Status createDirectories(const std::filesystem::path& path);

struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;
    bool isHidden = false; // the name begins with "."

    friend bool operator==(const DirectoryEntry&, const DirectoryEntry&) = default;
};

// The folder's entries sorted by name, "." and ".." left out.
Result<std::vector<DirectoryEntry>> listDirectory(const std::filesystem::path& path);

} // namespace core
