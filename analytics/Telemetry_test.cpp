#include "analytics/Telemetry.h"

#include "analytics/TMDB.h"
#include "analytics/TMEventThread.h"
#include "analytics/TMRecords.h"
#include "analytics/testing/AnalyticsFixture.h"
#include "analytics/TmClock.h"
#include "platform/core/ApplicationEvents.h"
#include "platform/core/ManualClock.h"
#include "platform/core/NotificationCenter.h"

#include <thread>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace zm {
namespace {

using testing::kAccount;
using testing::kSecret;

// Records wait in the store: no service is named.
class TelemetryTest : public testing::AnalyticsFixture {
protected:
    void SetUp() override {
        AnalyticsFixture::SetUp();
        TmService::setHost(std::nullopt);
        Telemetry::reset();
    }
    void TearDown() override {
        Telemetry::reset();
        AnalyticsFixture::TearDown();
    }

    // The stored events once `count` are there: name and arguments.
    std::vector<std::pair<std::string, std::string>> storedEvents(size_t count) {
        std::vector<std::shared_ptr<TMEvent>> events;
        for (int i = 0; i < 400 && events.size() < count; ++i) {
            events = TMDB(kAccount, kSecret).events();
            if (events.size() < count)
                std::this_thread::sleep_for(5ms);
        }
        std::vector<std::pair<std::string, std::string>> found;
        for (const auto& event : events)
            found.emplace_back(event->name(), event->arguments());
        return found;
    }

    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    ScopedTmClock analyticsClock{clock};
};

TEST_F(TelemetryTest, TheFirstRunQueuesTheSessionAndItsEventsInOrder) {
    Telemetry::event("before");
    EXPECT_FALSE(Telemetry::sessionStarted());
    Telemetry::startSession(kAccount, kSecret, {});
    Telemetry::event("newUser");
    Telemetry::event("iPad");
    EXPECT_EQ(storedEvents(2), (std::vector<std::pair<std::string, std::string>>{{"newUser", "{}"}, {"iPad", "{}"}}));
    const auto sessions = TMDB(kAccount, kSecret).sessions();
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0]->sessionId(), Telemetry::sessionID());
    EXPECT_EQ(TMDB(kAccount, kSecret).events()[0]->sessionId(), Telemetry::sessionID());

    const std::string session = Telemetry::sessionID();
    Telemetry::startSession("another", "Zz9yY8xX", {{"UIApplicationLaunchOptionsURLKey", "zembrix://aprefer/x"}});
    EXPECT_EQ(Telemetry::sessionID(), session) << "a second start only checks the referral";
    EXPECT_TRUE(Telemetry::wasReferred());
}

TEST_F(TelemetryTest, ARestartNeedsTheRunningSessionToBeOlderThanFiveSeconds) {
    Telemetry::startSession(kAccount, kSecret);
    const std::string first = Telemetry::sessionID();
    clock->advanceBy(3s);
    Telemetry::reStartSession(kAccount, kSecret);
    EXPECT_EQ(Telemetry::sessionID(), first);
    clock->advanceBy(3s);
    Telemetry::reStartSession(kAccount, kSecret);
    EXPECT_NE(Telemetry::sessionID(), first);
    Telemetry::endSession();
    EXPECT_EQ(storedEvents(1).at(0).first, "end_session");
    EXPECT_EQ(TMDB(kAccount, kSecret).sessions().size(), 2u);
}

TEST_F(TelemetryTest, AgeGenderAndArgumentListsRecordOnlyWhatIsValid) {
    Telemetry::setBufferLimit(3); // before the start: lost
    Telemetry::startSession(kAccount, kSecret);
    EXPECT_EQ(Telemetry::thread()->maximumBufferSize(), 1000);
    for (const core::Value& age : {core::Value("0"), core::Value("100"), core::Value(core::Date{5}), core::Value("42")})
        Telemetry::setAge(age);
    for (const char* gender : {"M", "male", "x"})
        Telemetry::setGender(gender);
    Telemetry::eventWithArgs("pairs", {{"level", 3}, {std::nullopt, 4}, {"after", 5}});
    Telemetry::eventWithArgs("one", {{"k", "v"}, {"empty", std::nullopt}});
    EXPECT_EQ(storedEvents(4), (std::vector<std::pair<std::string, std::string>>{{"__age__", R"({"value":42})"},
                                                                                  {"__gender__", R"({"value":"m"})"},
                                                                                  {"pairs", R"({"level":3})"},
                                                                                  {"one", R"({"k":"v"})"}}));
}

TEST_F(TelemetryTest, TheWebBridgeTakesOnlyItsOwnScheme) {
    Telemetry::startSession(kAccount, kSecret);
    std::vector<std::string> scripts;
    const auto evaluate = [&](const std::string& script) { scripts.push_back(script); };
    EXPECT_FALSE(Telemetry::processJSRequest(evaluate, "https://example.com/event/x?a=1"));
    EXPECT_TRUE(scripts.empty());
    EXPECT_TRUE(Telemetry::processJSRequest(evaluate, "telemetry://event/level%20won?score=a%20b&_rand_=0.123"));
    EXPECT_TRUE(Telemetry::processJSRequest(evaluate, "telemetry://other/ignored"));
    EXPECT_EQ(storedEvents(1), (std::vector<std::pair<std::string, std::string>>{{"level%20won", R"({"score":"a b"})"}}));
    ASSERT_EQ(scripts.size(), 2u);
    EXPECT_EQ(scripts[0], "Telemetry.version='6.0.2';Telemetry.triggerActive=false;Telemetry.sessionStarted=true;");
}

TEST_F(TelemetryTest, TheAttributionIdIsKeptFromTheSharedPasteboard) {
    TmUtils::setPasteboard("fb_app_attribution", "shared-id");
    Telemetry::startSession(kAccount, kSecret);
    EXPECT_EQ(Telemetry::fbAppAttributionId(), "shared-id");
    TmUtils::setPasteboard("fb_app_attribution", "later");
    Telemetry::saveFbAppAttributionId();
    EXPECT_EQ(Telemetry::fbAppAttributionId(), "shared-id") << "a kept id stays";
}

TEST_F(TelemetryTest, TheKitEndsWhenTheApplicationTerminatesKeepingWhatWasRecorded) {
    Telemetry::startSession(kAccount, kSecret);
    Telemetry::event("newUser");
    core::NotificationCenter::defaultCenter().post(std::string(core::kApplicationWillTerminateNotification));
    EXPECT_EQ(Telemetry::thread(), nullptr);
    EXPECT_EQ(storedEvents(1), (std::vector<std::pair<std::string, std::string>>{{"newUser", "{}"}}))
        << "stored before the end";
    Telemetry::event("late");
    Telemetry::startSession(kAccount, kSecret);
    EXPECT_EQ(Telemetry::thread(), nullptr) << "no thread starts again";
    EXPECT_EQ(TMDB(kAccount, kSecret).events().size(), 1u);
}

} // namespace
} // namespace zm
