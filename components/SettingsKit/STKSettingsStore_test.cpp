#include "components/SettingsKit/STKSettingsStoreFile.h"
#include "components/SettingsKit/STKSettingsStoreUserDefaults.h"

#include "platform/core/Files.h"
#include "platform/core/PropertyList.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"
#include "platform/core/testsupport/FileSizeLimit.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

class FileStore : public ::testing::Test {
protected:
    core::Value stored() const {
        return *core::parsePropertyList(*core::readFile(path));
    }

    core::TemporaryFolder folder;
    std::filesystem::path path = folder.path() / "settings.plist";
};

TEST_F(FileStore, AMissingFileWritesExactlyTheKeysSet) {
    STKSettingsStoreFile store(path);
    EXPECT_EQ(store.objectForKey("anything"), std::nullopt);
    EXPECT_FALSE(store.boolForKey("anything"));
    EXPECT_EQ(store.integerForKey("anything"), 0);
    store.setBool(true, "sound");
    store.setInteger(7, "level");
    store.setObject("Ann", "name");
    EXPECT_FALSE(std::filesystem::exists(path)) << "nothing reaches the file before synchronize";
    ASSERT_TRUE(store.synchronize());
    EXPECT_EQ(stored(), core::Value(core::Dictionary{{"sound", true}, {"level", 7}, {"name", "Ann"}}));
    EXPECT_EQ(STKSettingsStoreFile(path).objectForKey("name"), core::Value("Ann"));
}

TEST_F(FileStore, AnIntegerReadsBackAsAFloat) {
    STKSettingsStoreFile store(path);
    store.setInteger(3, "level");
    EXPECT_EQ(store.floatForKey("level"), 3.0f);
    store.setDouble(2.5, "ratio");
    EXPECT_EQ(store.integerForKey("ratio"), 2);
}

TEST_F(FileStore, TwoStoresOnOnePathStayApart) {
    STKSettingsStoreFile first(path);
    STKSettingsStoreFile second(path);
    first.setObject("one", "key");
    EXPECT_EQ(second.objectForKey("key"), std::nullopt);
}

TEST_F(FileStore, AFailedWriteKeepsTheFileAndAnswersNo) {
    STKSettingsStoreFile store(path);
    store.setObject("kept", "key");
    ASSERT_TRUE(store.synchronize());
    // The disk fills up half-way through the next write.
    store.setObject(std::string(4096, 'x'), "key");
    {
        const core::FileSizeLimit full(1024);
        EXPECT_FALSE(store.synchronize());
    }
    EXPECT_EQ(stored(), core::Value(core::Dictionary{{"key", "kept"}}));

    // Nor can anything be written under a file.
    ASSERT_TRUE(core::writeFileAtomically(folder.path() / "blocked", "a file, not a folder"));
    STKSettingsStoreFile nowhere(folder.path() / "blocked" / "settings.plist");
    nowhere.setObject("lost", "key");
    EXPECT_FALSE(nowhere.synchronize());
}

TEST_F(FileStore, AnUnreadableFileSurvivesItsFirstOverwrite) {
    ASSERT_TRUE(core::writeFileAtomically(path, "not a property list"));
    STKSettingsStoreFile store(path);
    EXPECT_EQ(store.objectForKey("key"), std::nullopt);
    store.setObject("new", "key");
    ASSERT_TRUE(store.synchronize());
    std::filesystem::path aside = path;
    aside += ".unreadable";
    EXPECT_EQ(*core::readFile(aside), "not a property list");
    EXPECT_EQ(stored(), core::Value(core::Dictionary{{"key", "new"}}));
}

TEST(UserDefaultsStore, GoesToItsDatabase) {
    core::TemporaryFolder folder;
    auto defaults = std::make_shared<core::UserDefaults>(folder.path() / "defaults.plist");
    STKSettingsStoreUserDefaults store(defaults);
    EXPECT_FALSE(store.boolForKey("missing"));
    EXPECT_EQ(store.floatForKey("missing"), 0);
    store.setInteger(4, "level");
    store.setBool(true, "sound");
    EXPECT_EQ(defaults->integerForKey("level"), 4);
    EXPECT_EQ(store.doubleForKey("level"), 4.0);
    EXPECT_TRUE(store.synchronize());
    EXPECT_TRUE(core::UserDefaults(folder.path() / "defaults.plist").boolForKey("sound"));
}

} // namespace
} // namespace zm
