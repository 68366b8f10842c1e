#include "crashlog/service/CLGSettings.h"

#include "platform/core/Files.h"
#include "platform/core/Localization.h"
#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

class CLGSettingsTest : public ::testing::Test {
protected:
    CLGSettingsTest() {
        core::UserDefaults::setStandard(defaults);
        const auto english = folder.path() / "bundle" / "en.lproj";
        std::filesystem::create_directories(english);
        EXPECT_TRUE(core::writeFileAtomically(english / "Crashlog.strings",
                                              "\"CrashlogCrashSubmissionPromptTitle\" = \"Our own title\";\n"));
        core::Localization::setMain(std::make_shared<core::Localization>(folder.path() / "bundle", std::vector<std::string>{"en"}));
    }
    ~CLGSettingsTest() override {
        core::UserDefaults::setStandard(nullptr);
        core::Localization::setMain(nullptr);
    }

    // The document cached and read back.
    std::unique_ptr<CLGSettings> cached(const core::Dictionary& document) {
        EXPECT_TRUE(CLGSettings::writeSettings(&document, path));
        return CLGSettings::initWithCachePath(path);
    }

    core::TemporaryFolder folder;
    const std::filesystem::path path = folder.path() / "endpoint" / "settings.plist";
    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    core::MainLoop loop{clock};
    std::shared_ptr<core::UserDefaults> defaults = std::make_shared<core::UserDefaults>(folder.path() / "defaults.plist");
};

TEST_F(CLGSettingsTest, TheCacheIsOutdatedOnceNoMoreThanItsMarginRemains) {
    const struct {
        const char* name;
        core::Dictionary document;
        double freshUntil; // seconds after writing during which the cache is not outdated
    } cases[] = {
        {"no durations: seven days", {}, 604800},
        {"a top-level duration of 0 counts as none", {{"cache_duration", 0}}, 604800},
        {"a top-level duration sets the validity", {{"cache_duration", 7200}}, 7200},
        {"the section's duration is a margin", {{"settings", core::Dictionary{{"cache_duration", 3600}}}}, 604800 - 3600},
        {"a margin as long as the validity: outdated at once",
         {{"cache_duration", 100}, {"settings", core::Dictionary{{"cache_duration", 100}}}}, 0},
    };
    for (const auto& c : cases) {
        const auto settings = cached(c.document);
        ASSERT_TRUE(settings) << c.name;
        if (c.freshUntil > 0) {
            clock->advanceBy(core::fromSeconds(c.freshUntil - 1));
            EXPECT_FALSE(settings->isOutdated()) << c.name;
            clock->advanceBy(core::fromSeconds(1));
        }
        EXPECT_TRUE(settings->isOutdated()) << c.name;
    }
}

TEST_F(CLGSettingsTest, CollectionAndPermissionFollowTheSettingsAndTheUsersSwitches) {
    const struct {
        const char* name;
        core::Dictionary document;
        std::optional<bool> shouldCollectDefault;
        bool alwaysSend;
        bool collect;
        bool askFirst;
    } cases[] = {
        {"nothing said", {}, std::nullopt, false, true, false},
        {"collection off", {{"settings", core::Dictionary{{"collect_reports", false}}}}, std::nullopt, false, false, false},
        {"the application's NO wins", {{"settings", core::Dictionary{{"collect_reports", true}}}}, false, false, false, false},
        {"the application's YES changes nothing", {{"settings", core::Dictionary{{"collect_reports", false}}}}, true, false, false, false},
        {"prompt enabled", {{"prompt", core::Dictionary{{"enabled", true}}}}, std::nullopt, false, true, true},
        {"prompt enabled, user always sends", {{"prompt", core::Dictionary{{"enabled", true}}}}, std::nullopt, true, true, false},
    };
    for (const auto& c : cases) {
        defaults->removeObject(CLGSettings::kShouldCollectKey);
        if (c.shouldCollectDefault)
            defaults->setBool(*c.shouldCollectDefault, CLGSettings::kShouldCollectKey);
        CLGSettings::setUserDesiresReportsAlwaysBeSent(c.alwaysSend);
        EXPECT_EQ(CLGSettings::userDesiresReportsAlwaysBeSent(), c.alwaysSend) << c.name;
        const auto settings = cached(c.document);
        ASSERT_TRUE(settings) << c.name;
        EXPECT_EQ(settings->shouldCollectCrashReports(), c.collect) << c.name;
        EXPECT_EQ(settings->shouldRequestPermissionToSubmit(), c.askFirst) << c.name;
    }
    EXPECT_TRUE(core::UserDefaults(folder.path() / "defaults.plist").boolForKey(CLGSettings::kAlwaysSendKey))
        << "the choice is written at once";
}

TEST_F(CLGSettingsTest, ReadsTheAppSectionIconAndAlertTexts) {
    const auto settings = cached({
        {"app", core::Dictionary{{"status", "new"},
                                 {"update_required", true},
                                 {"url", "https://127.0.0.1:9/spi/v1/platforms/ios/apps/a"},
                                 {"reports_url", "not a url"},
                                 {"icon", core::Dictionary{{"hash", "abc"}, {"width", 57}}}}},
        {"prompt", core::Dictionary{{"title", "Server title"}, {"message", "Server message"}, {"show_always_send_button", true}}},
    });
    ASSERT_TRUE(settings);
    EXPECT_TRUE(settings->appNeedsOnboarding());
    EXPECT_TRUE(settings->requiresUpdate());
    EXPECT_EQ(settings->appURL(), "https://127.0.0.1:9/spi/v1/platforms/ios/apps/a");
    EXPECT_EQ(settings->reportsURL(), std::nullopt);
    EXPECT_EQ(settings->settingsURL(), std::nullopt);
    EXPECT_EQ(settings->iconHash(), "abc");
    EXPECT_EQ(settings->iconSize(), (core::Size{0, 0})) << "only a width";
    EXPECT_TRUE(settings->shouldIncludeInteractiveAlwaysSendOption());
    EXPECT_FALSE(settings->shouldIncludeInteractiveCancelOption());
    EXPECT_EQ(settings->interactivePromptTitle(), "Our own title") << "the application's translation wins";
    EXPECT_EQ(settings->interactivePromptMessage(), "Server message");
    EXPECT_EQ(settings->interactivePromptSendTitle(), "Send");
    EXPECT_EQ(settings->interactivePromptAlwaysSendTitle(), "Always Send");
    EXPECT_EQ(settings->interactivePromptCancelTitle(), "Don't Send");

    const auto sized = cached({{"app", core::Dictionary{{"icon", core::Dictionary{{"width", 57}, {"height", 60.5}}}}}});
    EXPECT_EQ(sized->iconSize(), (core::Size{57, 60.5}));
    EXPECT_FALSE(sized->appNeedsOnboarding());
}

TEST_F(CLGSettingsTest, ADocumentThatCannotBeCachedLeavesThePreviousOne) {
    EXPECT_FALSE(CLGSettings::writeSettings(nullptr, path));
    EXPECT_EQ(CLGSettings::initWithCachePath(path), nullptr) << "nothing cached yet";

    ASSERT_TRUE(cached({{"app", core::Dictionary{{"status", "new"}}}}));
    const core::Dictionary withNull{{"app", core::Dictionary{{"status", core::Value()}}}};
    EXPECT_FALSE(CLGSettings::writeSettings(&withNull, path));
    const auto kept = CLGSettings::initWithCachePath(path);
    ASSERT_TRUE(kept);
    EXPECT_TRUE(kept->appNeedsOnboarding());

    ASSERT_TRUE(core::writeFileAtomically(path, "not a property list"));
    EXPECT_EQ(CLGSettings::initWithCachePath(path), nullptr);
}

} // namespace
} // namespace zm
