#include "analytics/Telemetry.h"
#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"

#include <memory>

#include <gtest/gtest.h>

namespace zm {
namespace {

using Kind = Telemetry::Record::Kind;

class TelemetryTest : public ::testing::Test {
protected:
    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    core::MainLoop loop{clock};
    Telemetry telemetry;
};

TEST_F(TelemetryTest, EventsBeforeAnySessionAreLost) {
    telemetry.event("newUser");
    EXPECT_FALSE(telemetry.sessionStarted());
    EXPECT_TRUE(telemetry.pendingRecords().empty());
}

TEST_F(TelemetryTest, ASessionQueuesItsStartAndThenItsEventsWithTheTimeSinceTheStart) {
    telemetry.startSession("zembrixgames", "Ab3dE6gH", {});
    loop.advanceBy(core::fromSeconds(2.5));
    telemetry.event("newUser");
    telemetry.event("iPad");
    const std::string session = telemetry.sessionID();
    EXPECT_EQ(session.size(), 36u);
    EXPECT_EQ(telemetry.account(), "zembrixgames");
    EXPECT_EQ(telemetry.pendingRecords(),
              (std::vector<Telemetry::Record>{{Kind::Session, session, "", 0},
                                              {Kind::Event, session, "newUser", 2.5},
                                              {Kind::Event, session, "iPad", 2.5}}));
}

TEST_F(TelemetryTest, ASecondStartKeepsTheRunningSessionAndOnlyChecksTheReferral) {
    telemetry.startSession("zembrixgames", "Ab3dE6gH", {});
    const std::string session = telemetry.sessionID();
    telemetry.startSession("another", "Zz9yY8xX",
                           {{"UIApplicationLaunchOptionsURLKey", "zembrix://aprefer/x"}});
    EXPECT_EQ(telemetry.sessionID(), session);
    EXPECT_EQ(telemetry.account(), "zembrixgames");
    EXPECT_EQ(telemetry.pendingRecords().size(), 1u);
    EXPECT_TRUE(telemetry.wasReferred());
}

TEST_F(TelemetryTest, OnlyTheReferralHostMarksAReferral) {
    const struct {
        core::Value url;
        bool referred;
    } cases[] = {
        {"zembrix://aprefer", true},
        {"https://user@aprefer:8080/path?q=1", true},
        {"https://example.com/aprefer", false},
        {"aprefer", false},
        {42, false},
    };
    for (const auto& test : cases) {
        Telemetry client;
        client.startSession("zembrixgames", "Ab3dE6gH", {{"UIApplicationLaunchOptionsURLKey", test.url}});
        EXPECT_EQ(client.wasReferred(), test.referred) << test.url.stringValue();
    }
}

} // namespace
} // namespace zm
