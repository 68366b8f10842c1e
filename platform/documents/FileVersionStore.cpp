#include "platform/documents/FileVersionStore.h"

#include "platform/core/Digest.h"
#include "platform/core/Files.h"
#include "platform/documents/FileOperations.h"
#include "platform/documents/FileQueue.h"

#include <algorithm>

#include <sys/stat.h>

namespace documents {

namespace {

constexpr std::string_view kUnresolved = ".unresolved";
constexpr std::string_view kResolved = ".resolved";

std::optional<core::Date> modificationDateOf(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return core::Date{double(status.st_mtim.tv_sec) + double(status.st_mtim.tv_nsec) / 1e9};
}

// The versions kept for `item`, oldest first; on the file queue.
std::vector<FileVersion> keptVersions(const std::filesystem::path& item) {
    std::vector<FileVersion> versions;
    const std::filesystem::path folder = LocalFileVersionStore::versionsFolder(item);
    const core::Result<std::vector<core::DirectoryEntry>> entries = core::listDirectory(folder);
    if (!entries)
        return versions;
    for (const core::DirectoryEntry& entry : *entries) {
        const bool unresolved = entry.name.ends_with(kUnresolved);
        if (entry.isHidden || (!unresolved && !entry.name.ends_with(kResolved)))
            continue;
        const std::filesystem::path url = folder / entry.name;
        if (const std::optional<core::Date> date = modificationDateOf(url))
            versions.push_back({url, *date, false, !unresolved});
    }
    std::sort(versions.begin(), versions.end(), [](const FileVersion& a, const FileVersion& b) {
        return a.modificationDate != b.modificationDate ? a.modificationDate < b.modificationDate : a.url < b.url;
    });
    return versions;
}

template <class Work> auto onFileQueue(Work work) {
    decltype(work()) result{};
    FileQueue::shared().sync([&] { result = work(); });
    return result;
}

} // namespace

FileVersionStore& FileVersionStore::shared() {
    static LocalFileVersionStore store;
    return store;
}

std::filesystem::path LocalFileVersionStore::versionsFolder(const std::filesystem::path& item) {
    return item.parent_path() / kFolderName / item.filename();
}

std::optional<FileVersion> LocalFileVersionStore::currentVersionOfItem(const std::filesystem::path& item) {
    return onFileQueue([&]() -> std::optional<FileVersion> {
        const std::optional<core::Date> date = modificationDateOf(item);
        if (!date)
            return std::nullopt;
        return FileVersion{item, *date, true, true};
    });
}

std::vector<FileVersion> LocalFileVersionStore::otherVersionsOfItem(const std::filesystem::path& item) {
    return onFileQueue([&] { return keptVersions(item); });
}

std::vector<FileVersion> LocalFileVersionStore::unresolvedConflictVersionsOfItem(const std::filesystem::path& item) {
    return onFileQueue([&] {
        std::vector<FileVersion> versions = keptVersions(item);
        std::erase_if(versions, [](const FileVersion& version) { return version.resolved; });
        return versions;
    });
}

core::Status LocalFileVersionStore::addConflictVersionOfItem(const std::filesystem::path& item,
                                                             std::string_view bytes) {
    return onFileQueue([&]() -> core::Status {
        const std::filesystem::path folder = versionsFolder(item);
        if (core::Status made = core::createDirectories(folder); !made)
            return made;
        const core::Result<FileStamp> kept =
            createFileAtomically(folder / (core::uuidString() + std::string(kUnresolved)), bytes);
        return kept ? core::Status() : core::Status(kept.error());
    });
}

core::Status LocalFileVersionStore::replaceItem(const std::filesystem::path& item, const FileVersion& version) {
    if (version.isCurrent)
        return {};
    return onFileQueue([&]() -> core::Status {
        const core::Result<StampedContents> kept = readFileWithStamp(version.url);
        if (!kept)
            return kept.error();
        const core::Result<FileStamp> replaced = replaceFileAtomically(item, kept->bytes);
        return replaced ? core::Status() : core::Status(replaced.error());
    });
}

core::Status LocalFileVersionStore::removeOtherVersionsOfItem(const std::filesystem::path& item) {
    return onFileQueue([&]() -> core::Status {
        const std::filesystem::path folder = versionsFolder(item);
        std::error_code code;
        if (!std::filesystem::exists(folder, code))
            return {};
        core::Status removed = removeItem(folder);
        // The folder of all versions goes with the last of them.
        std::filesystem::remove(folder.parent_path(), code);
        return removed;
    });
}

core::Status LocalFileVersionStore::setResolved(const FileVersion& version, bool resolved) {
    if (version.isCurrent)
        return {};
    return onFileQueue([&]() -> core::Status {
        std::filesystem::path renamed = version.url;
        renamed.replace_extension(resolved ? kResolved : kUnresolved);
        if (renamed == version.url)
            return {};
        return moveItemWithoutReplacing(version.url, renamed);
    });
}

core::Status LocalFileVersionStore::moveVersionsOfItem(const std::filesystem::path& from,
                                                       const std::filesystem::path& to) {
    return onFileQueue([&]() -> core::Status {
        const std::filesystem::path source = versionsFolder(from);
        std::error_code code;
        if (!std::filesystem::exists(source, code))
            return {};
        const std::filesystem::path target = versionsFolder(to);
        if (core::Status made = core::createDirectories(target.parent_path()); !made)
            return made;
        return moveItemWithoutReplacing(source, target);
    });
}

} // namespace documents
