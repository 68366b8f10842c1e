#include "crashlog/controller/CLGConversionEvents.h"

#include "crashlog/service/CLGServiceKeys.h"
#include "platform/core/Digest.h"
#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/core/UserDefaults.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

class CLGConversionEventsTest : public ::testing::Test {
protected:
    CLGConversionEventsTest() { core::UserDefaults::setStandard(defaults); }
    ~CLGConversionEventsTest() override { core::UserDefaults::setStandard(nullptr); }

    static std::vector<std::string> types(const std::optional<core::Array>& events) {
        std::vector<std::string> named;
        for (const core::Value& event : events.value_or(core::Array()))
            named.push_back(event.find("event_type")->stringValue());
        return named;
    }

    core::TemporaryFolder folder;
    std::shared_ptr<core::UserDefaults> defaults = std::make_shared<core::UserDefaults>(folder.path() / "defaults.plist");
    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    core::MainLoop loop{clock};
    // A test's stand-in for an advertising identifier, which this system has not.
    CLGConversionSource source{true, true, "AD-ID", 123456, true, "com.zembrix.algebra"};
};

TEST_F(CLGConversionEventsTest, AKeyNeedsAReadyContextAnAdvertisingIdentifierAndAnItemId) {
    EXPECT_EQ(CLGConversionEventKey("Install", source),
              core::sha1Hex("AD-ID" + std::string(kCLGConversionSalt) + "123456Install"));
    CLGConversionSource notReady = source;
    notReady.contextReady = false;
    CLGConversionSource noAdvertising = source;
    noAdvertising.advertisingIdentifier.reset();
    CLGConversionSource noItem = source;
    noItem.storeItemId = 0;
    for (const auto& lacking : {notReady, noAdvertising, noItem})
        EXPECT_EQ(CLGConversionEventKey("Activation", lacking), std::nullopt);
}

TEST_F(CLGConversionEventsTest, TheFirstRunSendsInstallAndActivationAndLaterRunsTheKeptInstallUntilItIsDelivered) {
    const std::optional<core::Array> first = CLGConversionEventArray(source);
    EXPECT_EQ(types(first), (std::vector<std::string>{"Install", "Activation"}));
    const core::Value& install = first->front();
    EXPECT_EQ(install.find("key")->stringValue(), *CLGConversionEventKey("Install", source));
    EXPECT_EQ(install.find("app_id")->stringValue(), "123456");
    EXPECT_EQ(install.find("bundle_identifier")->stringValue(), "com.zembrix.algebra");
    EXPECT_EQ(install.find("happened_at")->integerValue(),
              static_cast<int64_t>(core::ManualClock::defaultStartDate.secondsSince1970));
    EXPECT_EQ(core::UserDefaults(folder.path() / "defaults.plist").stringForKey(kCLGInstallEventKey),
              CLGConversionEventKey("Install", source))
        << "kept at once";

    CLGConversionSource later = source;
    later.installIdentifierCreated = false;
    EXPECT_EQ(types(CLGConversionEventArray(later)), (std::vector<std::string>{"Install", "Activation"}));
    defaults->removeObject(kCLGInstallEventKey); // the settings request delivered it
    EXPECT_EQ(types(CLGConversionEventArray(later)), std::vector<std::string>{"Activation"});

    later.advertisingIdentifier.reset();
    EXPECT_EQ(types(CLGConversionEventArray(later)), std::vector<std::string>{});
    later.trackingOn = false;
    EXPECT_EQ(CLGConversionEventArray(later), std::nullopt);
}

TEST_F(CLGConversionEventsTest, TheSettingsAreReloadedEveryHour) {
    int reloads = 0;
    const auto timer = CLGConversionTimerStart(core::DispatchQueue::main(), [&] { ++reloads; });
    loop.advanceBy(std::chrono::seconds(3599));
    EXPECT_EQ(reloads, 0);
    loop.advanceBy(std::chrono::seconds(1));
    EXPECT_EQ(reloads, 1);
    loop.advanceBy(std::chrono::hours(2));
    EXPECT_EQ(reloads, 3);
    timer->invalidate();
}

} // namespace
} // namespace zm
