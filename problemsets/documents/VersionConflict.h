#pragma once

#include <filesystem>

namespace documents {
class FileVersionStore;
}

namespace zm {

// How a problem set in conflict is settled: the newest version wins.

// Puts the newest of the file's versions in its place: the current version stays only when it is
// strictly newer than every version kept aside, and of versions with equal dates the later one kept
// wins. Answers whether another version replaced the file.
bool replaceWithNewestVersion(documents::FileVersionStore& store, const std::filesystem::path& url);

// Forgets the versions kept aside and marks any still unresolved as resolved.
void clearConflicts(documents::FileVersionStore& store, const std::filesystem::path& url);

} // namespace zm
