#include "problemsets/documents/VersionConflict.h"

#include "platform/core/Log.h"
#include "platform/documents/FileVersionStore.h"

namespace zm {

namespace {

void logFailure(const core::Status& status) {
    if (!status)
        core::log(core::LogLevel::Error, "cannot settle a conflict: " + status.error().description);
}

} // namespace

bool replaceWithNewestVersion(documents::FileVersionStore& store, const std::filesystem::path& url) {
    const std::optional<documents::FileVersion> current = store.currentVersionOfItem(url);
    const std::vector<documents::FileVersion> others = store.otherVersionsOfItem(url);
    if (!current || others.empty())
        return false;
    const documents::FileVersion* newest = &*current;
    for (const documents::FileVersion& other : others) {
        if (newest->modificationDate <= other.modificationDate)
            newest = &other;
    }
    if (newest == &*current)
        return false;
    logFailure(store.replaceItem(url, *newest));
    return true;
}

void clearConflicts(documents::FileVersionStore& store, const std::filesystem::path& url) {
    logFailure(store.removeOtherVersionsOfItem(url));
    for (const documents::FileVersion& version : store.unresolvedConflictVersionsOfItem(url))
        logFailure(store.setResolved(version, true));
}

} // namespace zm
