#pragma once

#include <filesystem>
#include <functional>
#include <optional>

namespace core {

// Where the program keeps its files. Everything the player makes lives under one data root: the
// folder named by $ZEMBRIX_HOME when it is set, else the XDG folders of the user. The read-only
// resources (interface files, images, sounds, texts) are found apart from it.
struct FileLocations {
    std::filesystem::path documents;
    std::filesystem::path caches;
    std::filesystem::path applicationSupport;
    // The stand-in for the user's cloud storage, a folder that other copies of the game may share; empty
    // when there is no cloud.
    std::filesystem::path cloudContainer;
    std::filesystem::path temporary;
    // Named pasteboards that outlive the program (NamedPasteboards).
    std::filesystem::path pasteboards;
    // The one file that holds the user defaults.
    std::filesystem::path userDefaults;
    std::filesystem::path resources;

    // The layout under one root folder (what $ZEMBRIX_HOME selects), without a cloud.
    static FileLocations underRoot(const std::filesystem::path& root, const std::filesystem::path& resources);

    using Environment = std::function<const char*(const char* name)>;
    // ZEMBRIX_HOME, else XDG_DATA_HOME, XDG_CACHE_HOME, XDG_CONFIG_HOME and HOME with their usual
    // defaults; TMPDIR for the temporary folder; ZEMBRIX_CLOUD_DIR for the cloud (unset: none);
    // ZEMBRIX_RESOURCE_DIR, else the resources of the source tree the program was built from.
    static FileLocations fromEnvironment(const Environment& environment);

    // The process's locations: from the real environment at first use, until replaced. A copy, so that
    // a replacement never pulls them from under a caller; both are safe from any thread.
    static FileLocations shared();
    static void setShared(FileLocations locations);

    // The cloud folder, made when it is missing; nothing when there is no cloud or the folder cannot be
    // made.
    std::optional<std::filesystem::path> availableCloudContainer() const;

private:
    // Every location but the cloud's.
    static FileLocations localFromEnvironment(const Environment& environment);
};

} // namespace core
