#include "platform/core/FileLocations.h"
#include "platform/core/TemporaryFolder.h"

#include <fstream>
#include <map>
#include <string>

#include <gtest/gtest.h>

namespace core {
namespace {

FileLocations::Environment environment(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    };
}

TEST(FileLocations, ZembrixHomeHoldsEveryLocation) {
    const FileLocations l =
        FileLocations::fromEnvironment(environment({{"ZEMBRIX_HOME", "/data"}, {"HOME", "/home/p"}}));
    EXPECT_EQ(l.documents, "/data/Documents");
    EXPECT_EQ(l.caches, "/data/Library/Caches");
    EXPECT_EQ(l.applicationSupport, "/data/Library/Application Support");
    EXPECT_TRUE(l.cloudContainer.empty());
    EXPECT_EQ(l.temporary, "/data/tmp");
    EXPECT_EQ(l.pasteboards, "/data/Library/Pasteboards");
    EXPECT_EQ(l.userDefaults, "/data/Library/Preferences/defaults.plist");
}

TEST(FileLocations, XdgFoldersWithTheirDefaults) {
    const FileLocations defaults = FileLocations::fromEnvironment(environment({{"HOME", "/home/p"}}));
    EXPECT_EQ(defaults.documents, "/home/p/.local/share/zembrix/Documents");
    EXPECT_EQ(defaults.caches, "/home/p/.cache/zembrix");
    EXPECT_EQ(defaults.userDefaults, "/home/p/.config/zembrix/defaults.plist");
    EXPECT_TRUE(defaults.cloudContainer.empty());
    EXPECT_EQ(defaults.temporary.parent_path(), "/tmp");

    const FileLocations set =
        FileLocations::fromEnvironment(environment({{"HOME", "/home/p"},
                                                    {"XDG_DATA_HOME", "/d"},
                                                    {"XDG_CACHE_HOME", "/c"},
                                                    {"XDG_CONFIG_HOME", "relative/ignored"},
                                                    {"TMPDIR", "/t"},
                                                    {"ZEMBRIX_RESOURCE_DIR", "/r"}}));
    EXPECT_EQ(set.applicationSupport, "/d/zembrix/Application Support");
    EXPECT_EQ(set.pasteboards, "/d/zembrix/Pasteboards");
    EXPECT_EQ(set.caches, "/c/zembrix");
    EXPECT_EQ(set.userDefaults, "/home/p/.config/zembrix/defaults.plist");
    EXPECT_EQ(set.temporary.parent_path(), "/t");
    EXPECT_EQ(set.resources, "/r");
}

TEST(FileLocations, TheCloudIsTheFolderNamedByTheEnvironmentMadeWhenMissing) {
    TemporaryFolder root;
    const std::filesystem::path shared = root.path() / "shared" / "cloud";
    for (const char* home : {"/data", static_cast<const char*>(nullptr)}) {
        std::map<std::string, std::string> variables = {{"HOME", "/home/p"}, {"ZEMBRIX_CLOUD_DIR", shared}};
        if (home)
            variables["ZEMBRIX_HOME"] = home;
        const FileLocations l = FileLocations::fromEnvironment(environment(variables));
        EXPECT_EQ(l.cloudContainer, shared);
    }
    const FileLocations l =
        FileLocations::fromEnvironment(environment({{"ZEMBRIX_HOME", "/data"}, {"ZEMBRIX_CLOUD_DIR", shared}}));
    EXPECT_EQ(l.availableCloudContainer(), shared);
    EXPECT_TRUE(std::filesystem::is_directory(shared));

    // Unset, or a folder that cannot be made (under a file): no cloud.
    EXPECT_FALSE(FileLocations::underRoot(root.path(), "/r").availableCloudContainer());
    FileLocations blocked = FileLocations::underRoot(root.path(), "/r");
    std::ofstream(root.path() / "file") << "x";
    blocked.cloudContainer = root.path() / "file" / "cloud";
    EXPECT_FALSE(blocked.availableCloudContainer());
}

TEST(FileLocations, SharedLocationsCanBeReplaced) {
    TemporaryFolder root;
    // What a caller holds stays valid across a replacement (the address sanitizer would see a violation).
    const FileLocations& held = FileLocations::shared();
    const std::filesystem::path documents = held.documents;
    FileLocations::setShared(FileLocations::underRoot(root.path(), "/r"));
    EXPECT_EQ(FileLocations::shared().documents, root.path() / "Documents");
    EXPECT_EQ(held.documents, documents);
}

} // namespace
} // namespace core
