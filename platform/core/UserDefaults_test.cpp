#include "platform/core/Files.h"
#include "platform/core/Log.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"
#include "platform/core/testsupport/FileSizeLimit.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace core {
namespace {

class UserDefaultsTest : public ::testing::Test {
protected:
    std::filesystem::path file() const { return m_folder.path() / "Preferences" / "defaults.plist"; }

private:
    TemporaryFolder m_folder;
};

TEST_F(UserDefaultsTest, ValuesSurviveARestart) {
    {
        UserDefaults defaults(file());
        defaults.setBool(true, "firstRun");
        defaults.setInteger(3, "count");
        defaults.setFloat(0.6f, "parallaxPerc");
        defaults.setDouble(12.5, "clockwiseSpeed");
        defaults.setObject(Value("AlgebraTopicEquations"), "AlgebraTopicState");
        defaults.setObject(Value(Dictionary{{"AlgebraTopicCommutation", Bytes{1, 2, 3}}}), "statsKey");
        defaults.setObject(Value(Array{"en"}), "languages");
        ASSERT_TRUE(defaults.synchronize());
    }
    const UserDefaults reopened(file());
    EXPECT_TRUE(reopened.boolForKey("firstRun"));
    EXPECT_EQ(reopened.integerForKey("count"), 3);
    EXPECT_EQ(reopened.floatForKey("parallaxPerc"), 0.6f);
    EXPECT_EQ(reopened.doubleForKey("clockwiseSpeed"), 12.5);
    EXPECT_EQ(reopened.stringForKey("AlgebraTopicState"), "AlgebraTopicEquations");
    EXPECT_EQ(reopened.dictionaryForKey("statsKey")->find("AlgebraTopicCommutation")->asData()->size(), 3u);
    EXPECT_EQ(reopened.arrayForKey("languages")->size(), 1u);
}

TEST_F(UserDefaultsTest, MissingKeysReadAsNothingAndPresenceIsTold) {
    UserDefaults defaults(file());
    EXPECT_FALSE(defaults.contains("seenIntro"));
    EXPECT_FALSE(defaults.boolForKey("seenIntro"));
    EXPECT_EQ(defaults.floatForKey("clockwiseSpeed"), 0);
    EXPECT_FALSE(defaults.stringForKey("AlgebraTopicState"));
    defaults.setFloat(0, "clockwiseSpeed");
    EXPECT_TRUE(defaults.contains("clockwiseSpeed"));
    defaults.removeObject("clockwiseSpeed");
    EXPECT_FALSE(defaults.contains("clockwiseSpeed"));
    defaults.setBool(false, "iCloud");
    defaults.setObject(Value(), "iCloud");
    EXPECT_FALSE(defaults.objectForKey("iCloud"));
}

TEST_F(UserDefaultsTest, TypedReadsConvertNumbersAndTexts) {
    UserDefaults defaults(file());
    defaults.setObject(Value("YES"), "flag");
    defaults.setObject(Value(" 12px"), "size");
    defaults.setInteger(7, "seven");
    defaults.setObject(Value(Array{}), "list");
    EXPECT_TRUE(defaults.boolForKey("flag"));
    EXPECT_EQ(defaults.integerForKey("size"), 12);
    EXPECT_EQ(defaults.floatForKey("seven"), 7.0f);
    EXPECT_EQ(defaults.stringForKey("seven"), "7");
    EXPECT_FALSE(defaults.stringForKey("list"));
    EXPECT_FALSE(defaults.dictionaryForKey("list"));
    EXPECT_FALSE(defaults.dataForKey("seven"));
    EXPECT_EQ(defaults.integerForKey("list"), 0);
}

TEST_F(UserDefaultsTest, ASaveThatFailsHalfWayKeepsThePreviousFile) {
    UserDefaults defaults(file());
    defaults.setObject(Value("kept"), "statsKey");
    ASSERT_TRUE(defaults.synchronize());
    const std::string before = *readFile(file());

    defaults.setObject(Value(std::string(8192, 'x')), "statsKey");
    LogCapture log;
    bool saved;
    {
        const FileSizeLimit limit(before.size() + 16);
        saved = defaults.synchronize();
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(log.entries().size(), 1u);
    EXPECT_EQ(*readFile(file()), before);
    EXPECT_EQ(UserDefaults(file()).stringForKey("statsKey"), "kept");
}

TEST_F(UserDefaultsTest, UnreadableFilesAreMovedAsideUnderNumberedNamesNeverOverwritten) {
    ASSERT_TRUE(createDirectories(file().parent_path()));
    const auto aside = [this](const char* suffix) {
        std::filesystem::path name = file();
        name += suffix;
        return name;
    };
    // Two bad files in a row, with a folder in the way of the third name.
    std::filesystem::create_directory(aside(".unreadable.3"));
    const char* bad[] = {"<plist><dict><key>a</key>", "not a property list", "<plist><string/></plist>"};
    for (const char* content : bad) {
        ASSERT_TRUE(writeFileAtomically(file(), content));
        LogCapture log;
        UserDefaults defaults(file());
        EXPECT_TRUE(defaults.dictionaryRepresentation().empty());
        ASSERT_EQ(log.entries().size(), 1u);
        EXPECT_EQ(log.entries()[0].level, LogLevel::Error);
        defaults.setBool(true, "firstRun");
        EXPECT_TRUE(defaults.synchronize());
    }
    EXPECT_EQ(*readFile(aside(".unreadable")), bad[0]);
    EXPECT_EQ(*readFile(aside(".unreadable.2")), bad[1]);
    EXPECT_TRUE(std::filesystem::is_directory(aside(".unreadable.3")));
    EXPECT_EQ(*readFile(aside(".unreadable.4")), bad[2]);
    EXPECT_TRUE(UserDefaults(file()).boolForKey("firstRun"));
}

TEST_F(UserDefaultsTest, AnUnreadableFileThatCannotBeSetAsideIsNeverWritten) {
    ASSERT_TRUE(createDirectories(file().parent_path()));
    for (int number = 1; number <= 100; ++number) {
        std::filesystem::path name = file();
        name += number == 1 ? ".unreadable" : ".unreadable." + std::to_string(number);
        std::filesystem::create_directory(name);
    }
    ASSERT_TRUE(writeFileAtomically(file(), "damaged"));
    LogCapture log;
    UserDefaults defaults(file());
    ASSERT_EQ(log.entries().size(), 1u);
    EXPECT_NE(log.entries()[0].message.find("cannot be set aside"), std::string::npos);
    defaults.setBool(true, "firstRun");
    EXPECT_FALSE(defaults.synchronize());
    EXPECT_EQ(*readFile(file()), "damaged");
}

TEST_F(UserDefaultsTest, TemporariesOfAKilledSaveAreRemovedAtStart) {
    ASSERT_TRUE(createDirectories(file().parent_path()));
    const std::filesystem::path folder = file().parent_path();
    const std::string name = file().filename().string();
    for (const std::string& temporary : {"." + name + ".a1B2c3", "." + name + ".XXXXXX"})
        ASSERT_TRUE(writeFileAtomically(folder / temporary, "<plist>"));
    // Not ours: another file's temporary, a longer name, a folder.
    const std::string others[] = {".other.plist.a1B2c3", "." + name + ".a1B2c3d", name + ".a1B2c3"};
    for (const std::string& other : others)
        ASSERT_TRUE(writeFileAtomically(folder / other, "kept"));
    std::filesystem::create_directory(folder / ("." + name + ".dir123"));

    UserDefaults defaults(file());
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected(std::begin(others), std::end(others));
    expected.push_back("." + name + ".dir123");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
}

TEST_F(UserDefaultsTest, ObserversHearEveryChangeUntilRemoved) {
    UserDefaults defaults(file());
    int changes = 0;
    const auto id = defaults.addChangeObserver([&] {
        ++changes;
        // An observer may read the store: it is called outside the lock.
        EXPECT_TRUE(defaults.contains("a") || changes == 3);
    });
    defaults.setBool(true, "a");
    defaults.setInteger(2, "a");
    defaults.removeObject("a");
    defaults.removeChangeObserver(id);
    defaults.setBool(true, "a");
    EXPECT_EQ(changes, 3);
}

TEST_F(UserDefaultsTest, StandardStoreCanBeReplaced) {
    auto replacement = std::make_shared<UserDefaults>(file());
    UserDefaults::setStandard(replacement);
    EXPECT_EQ(&UserDefaults::standard(), replacement.get());
    UserDefaults::setStandard(nullptr);
}

} // namespace
} // namespace core
