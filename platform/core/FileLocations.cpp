#include "platform/core/FileLocations.h"

#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

#include <unistd.h>

namespace core {

namespace {

constexpr const char* kProgramFolder = "zembrix";

std::filesystem::path variable(const FileLocations::Environment& environment, const char* name) {
    const char* value = environment(name);
    // An empty or relative XDG value is to be ignored, by the XDG rules.
    if (!value || !*value || value[0] != '/')
        return {};
    return value;
}

struct SharedLocations {
    std::mutex lock;
    std::unique_ptr<FileLocations> locations;
};

SharedLocations& sharedLocations() {
    static SharedLocations instance;
    return instance;
}

} // namespace

FileLocations FileLocations::underRoot(const std::filesystem::path& root,
                                       const std::filesystem::path& resources) {
    FileLocations locations;
    locations.documents = root / "Documents";
    locations.caches = root / "Library" / "Caches";
    locations.applicationSupport = root / "Library" / "Application Support";
    locations.temporary = root / "tmp";
    locations.pasteboards = root / "Library" / "Pasteboards";
    locations.userDefaults = root / "Library" / "Preferences" / "defaults.plist";
    locations.resources = resources;
    return locations;
}

FileLocations FileLocations::fromEnvironment(const Environment& environment) {
    FileLocations locations = localFromEnvironment(environment);
    const char* cloud = environment("ZEMBRIX_CLOUD_DIR");
    if (cloud && *cloud) {
        std::error_code code;
        locations.cloudContainer = std::filesystem::absolute(cloud, code);
    }
    return locations;
}

FileLocations FileLocations::localFromEnvironment(const Environment& environment) {
    std::filesystem::path resources = variable(environment, "ZEMBRIX_RESOURCE_DIR");
    if (resources.empty())
        resources = ZEMBRIX_BUILT_RESOURCE_DIR;

    if (const std::filesystem::path root = variable(environment, "ZEMBRIX_HOME"); !root.empty())
        return underRoot(root, resources);

    std::filesystem::path home = variable(environment, "HOME");
    if (home.empty())
        home = "/";
    auto xdg = [&](const char* name, const char* fallback) {
        std::filesystem::path folder = variable(environment, name);
        return (folder.empty() ? home / fallback : folder) / kProgramFolder;
    };
    const std::filesystem::path data = xdg("XDG_DATA_HOME", ".local/share");
    std::filesystem::path temporary = variable(environment, "TMPDIR");
    if (temporary.empty())
        temporary = "/tmp";

    FileLocations locations;
    locations.documents = data / "Documents";
    locations.applicationSupport = data / "Application Support";
    locations.pasteboards = data / "Pasteboards";
    locations.caches = xdg("XDG_CACHE_HOME", ".cache");
    locations.userDefaults = xdg("XDG_CONFIG_HOME", ".config") / "defaults.plist";
    locations.temporary = temporary / (std::string(kProgramFolder) + "-" + std::to_string(::getuid()));
    locations.resources = resources;
    return locations;
}

FileLocations FileLocations::shared() {
    SharedLocations& shared = sharedLocations();
    const std::lock_guard guard(shared.lock);
    if (!shared.locations)
        shared.locations = std::make_unique<FileLocations>(fromEnvironment(&std::getenv));
    return *shared.locations;
}

void FileLocations::setShared(FileLocations locations) {
    SharedLocations& shared = sharedLocations();
    const std::lock_guard guard(shared.lock);
    shared.locations = std::make_unique<FileLocations>(std::move(locations));
}

std::optional<std::filesystem::path> FileLocations::availableCloudContainer() const {
    if (cloudContainer.empty())
        return std::nullopt;
    std::error_code code;
    std::filesystem::create_directories(cloudContainer, code);
    if (std::filesystem::is_directory(cloudContainer, code))
        return cloudContainer;
    return std::nullopt;
}

} // namespace core
