#include "crashlog/Crashlog.h"
#include "platform/core/Log.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

constexpr const char* kKey = "0123456789abcdef0123456789abcdef01234567";

TEST(Crashlog, StartsOnceWithItsKeyAndTheDefaultDelay) {
    Crashlog reporter;
    EXPECT_FALSE(reporter.isStarted());
    EXPECT_EQ(&reporter.startWithAPIKey(kKey), &reporter);
    EXPECT_TRUE(reporter.isStarted());
    EXPECT_EQ(reporter.apiKey(), kKey);
    EXPECT_EQ(reporter.startDelay(), 1.0);
}

TEST(Crashlog, ASecondStartIsLoggedAndIgnored) {
    Crashlog reporter;
    reporter.startWithAPIKey(kKey);
    core::LogCapture log;
    reporter.startWithAPIKey("ffffffffffffffffffffffffffffffffffffffff", 5);
    EXPECT_EQ(reporter.apiKey(), kKey);
    EXPECT_EQ(reporter.startDelay(), 1.0);
    EXPECT_TRUE(
        log.contains("[Crashlog] startWithAPIKey: called more than once. startWithAPIKey: should only "
                     "be called once, at app launch time. This call is being ignored."));
}

TEST(Crashlog, AnEmptyKeyRaisesAndLeavesTheReporterStopped) {
    Crashlog reporter;
    try {
        reporter.startWithAPIKey("");
        FAIL() << "an empty key must raise";
    } catch (const CrashlogException& exception) {
        EXPECT_STREQ(exception.what(), "Crashlog cannot start with the API key ''");
    }
    EXPECT_FALSE(reporter.isStarted());
    // A proper start may still follow.
    reporter.startWithAPIKey(kKey);
    EXPECT_TRUE(reporter.isStarted());
}

} // namespace
} // namespace zm
