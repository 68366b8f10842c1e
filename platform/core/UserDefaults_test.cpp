#include "platform/core/Files.h"
#include "platform/core/Log.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"
#include "platform/core/testsupport/FileSizeLimit.h"

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

TEST_F(UserDefaultsTest, AnUnreadableFileIsMovedAsideNotOverwritten) {
    ASSERT_TRUE(createDirectories(file().parent_path()));
    ASSERT_TRUE(writeFileAtomically(file(), "<plist><dict><key>a</key>"));
    LogCapture log;
    UserDefaults defaults(file());
    EXPECT_TRUE(defaults.dictionaryRepresentation().empty());
    ASSERT_EQ(log.entries().size(), 1u);
    EXPECT_EQ(log.entries()[0].level, LogLevel::Error);
    defaults.setBool(true, "firstRun");
    ASSERT_TRUE(defaults.synchronize());
    std::filesystem::path aside = file();
    aside += ".unreadable";
    EXPECT_EQ(*readFile(aside), "<plist><dict><key>a</key>");
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
