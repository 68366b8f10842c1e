#include "analytics/TMBatchEvent.h"
#include "analytics/TMDB.h"
#include "analytics/TMRecords.h"
#include "analytics/testing/AnalyticsFixture.h"
#include "analytics/testing/FakePaymentQueue.h"
#include "analytics/TmClock.h"
#include "platform/core/ManualClock.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using testing::kAccount;
using testing::kSecret;

class TMRecordsTest : public testing::AnalyticsFixture {
protected:
    std::shared_ptr<TMEvent> event(const std::string& name, const std::string& arguments = "{}") {
        return std::make_shared<TMEvent>(kAccount, kSecret,
                                         core::Dictionary{{"sessionId", "S1"}, {"name", name}, {"delta", 1.5},
                                                          {"arguments", arguments}});
    }
    std::shared_ptr<TMBatchEvent> batch() {
        return std::make_shared<TMBatchEvent>(kAccount, kSecret,
                                              core::Dictionary{{"sessionId", "S1"}, {"name", "__batchevent__"}});
    }

    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    ScopedTmClock analyticsClock{clock};
};

TEST_F(TMRecordsTest, ArgumentsOf20000EncodedCharactersAreSentAndOneMoreIsGivenUp) {
    ASSERT_TRUE(TmID::initKey(kAccount, kSecret));
    service.stop();
    // With the service gone, a request that is made gets no answer; one that is given up needs none.
    EXPECT_EQ(event("long", std::string(20000, 'a'))->send(), -1);
    EXPECT_EQ(event("long", std::string(19998, 'a') + "/")->send(), 0) << "\"/\" is three characters encoded";
}

TEST_F(TMRecordsTest, ARequestTheServiceRefusesAsSuchIsGivenUpRatherThanRetried) {
    // The stand-in service reads request lines of at most 8192 bytes.
    EXPECT_EQ(event("long", std::string(12000, 'a'))->send(), 0);
    EXPECT_EQ(event("short")->send(), 1);
}

TEST_F(TMRecordsTest, EventAndBatchQueriesKeepTheirKeyOrder) {
    ASSERT_EQ(event("newUser")->send(), 1);
    auto packed = batch();
    ASSERT_TRUE(packed->addEvent(event("a")));
    ASSERT_EQ(packed->send(), 1);
    const auto sent = queries("event");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(queryKeys(sent[0]),
              (std::vector<std::string>{"a", "k", "u", "av", "i", "lag", "n", "e", "p", "rt", "s", "t", "sdk"}));
    EXPECT_EQ(queryKeys(sent[1]),
              (std::vector<std::string>{"a", "k", "u", "av", "i", "lag", "n", "p", "rt", "s", "t", "sdk", "e"}));
}

TEST_F(TMRecordsTest, ABatchFillsUpTo20000AndRefusesWhatWouldPassIt) {
    auto measure = batch();
    ASSERT_TRUE(measure->addEvent(event("e", "")));
    const int entry = measure->argumentsSize() - 17 - 1; // an entry with empty arguments
    EXPECT_FALSE(measure->addEvent(std::make_shared<TMSession>(kAccount, kSecret))) << "sessions are not batched";

    auto packed = batch();
    ASSERT_TRUE(packed->addEvent(event("e", "")));
    // The second entry's arguments make the batch exactly 20000 long.
    const int room = 20000 - packed->argumentsSize() - 1 - entry;
    const auto last = event("e", std::string(room, 'a'));
    auto probe = batch();
    auto tooLong = event("e", std::string(room + 1, 'a'));
    ASSERT_TRUE(packed->addEvent(last));
    EXPECT_EQ(packed->argumentsSize(), 20000);
    EXPECT_FALSE(packed->addEvent(event("e", "")));
    EXPECT_EQ(packed->events().size(), 2u);
    EXPECT_EQ(packed->argumentsSize(), 20000) << "a refused event changes nothing";
    ASSERT_TRUE(probe->addEvent(event("e", "")));
    EXPECT_FALSE(probe->addEvent(tooLong));
}

TEST_F(TMRecordsTest, TheServiceUnpacksABatchToItsEvents) {
    for (const bool compressionOff : {false, true}) {
        auto packed = batch();
        packed->setNoCompression(compressionOff);
        ASSERT_TRUE(packed->addEvent(event("level up", R"({"to":"3"})")));
        ASSERT_TRUE(packed->addEvent(event("heartbeat")));
        ASSERT_EQ(packed->send(), 1);
        const std::string e = queries("event").back().substr(queries("event").back().find("&e=") + 3);
        EXPECT_EQ(e.starts_with("%7B%22events%22"), compressionOff) << e.substr(0, 30);
        clock->advanceBy(std::chrono::seconds(1)); // the next batch's events are others, not these sent again
    }
    const auto events = service.listed("events");
    ASSERT_EQ(events.size(), 4u);
    for (size_t i : {0u, 2u}) {
        EXPECT_EQ(events[i].find("name")->stringValue(), "level up");
        EXPECT_EQ(events[i].find("arguments")->stringValue(), R"({"to":"3"})");
        EXPECT_EQ(events[i + 1].find("name")->stringValue(), "heartbeat");
        EXPECT_TRUE(events[i].find("batched")->boolValue());
    }
}

TEST_F(TMRecordsTest, RefusalsAndSilenceDecideWhatIsDone) {
    service.script("event", {{"status", "rejected"}});
    EXPECT_EQ(event("x")->send(), 0);
    service.script("event", {{"no_answer", true}});
    EXPECT_EQ(event("x")->send(), -1);
}

TEST_F(TMRecordsTest, SessionAnswersReachPurchaseTrackingAndTheInstallEvent) {
    core::ScopedInfoDictionary schemes(
        {{"CFBundleIdentifier", "com.zembrix.algebra"},
         {"CFBundleURLTypes", core::Array{core::Dictionary{{"CFBundleURLSchemes", core::Array{"fb123", "fb", "zembrix"}}}}}});
    TmStore::setPaymentQueue(std::make_shared<testing::FakePaymentQueue>());
    std::vector<std::pair<std::string, core::Dictionary>> recorded;
    TmEventSink::setRecorder([&](const std::string& name, const core::Dictionary& arguments) {
        recorded.emplace_back(name, arguments);
    });

    TMSession first(kAccount, kSecret);
    EXPECT_EQ(first.send(), 1);
    EXPECT_TRUE(recorded.empty()) << "first time, but no attribution id";
    EXPECT_TRUE(TmStore::observing());
    EXPECT_FALSE(TmStore::firesRestoredTransactions());

    TmUtils::setPasteboard(TmUtils::attributionPasteboardName(kSecret), "attr-9");
    service.script("start", {{"first_time", true}, {"block_iapauto", true}, {"restored_iap", true}});
    TMSession second(kAccount, kSecret);
    EXPECT_EQ(second.send(), 1);
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].first, "__FBInstall");
    EXPECT_EQ(recorded[0].second,
              (core::Dictionary{{"fb_app_attribution", "attr-9"}, {"fb_app_ids", core::Array{"123"}}}));
    EXPECT_FALSE(TmStore::observing());
    EXPECT_TRUE(TmStore::firesRestoredTransactions());

    TmStore::setAllowAutoIAPComplete(false);
    TMSession third(kAccount, kSecret);
    EXPECT_EQ(third.send(), 1);
    EXPECT_FALSE(TmStore::observing()) << "the facade's switch keeps tracking off";

    service.script("start", {{"result", false}, {"status", "no"}});
    TMSession refused(kAccount, kSecret);
    EXPECT_EQ(refused.send(), 0);
    service.stop();
    TMSession unanswered(kAccount, kSecret);
    EXPECT_EQ(unanswered.send(), -1);
}

} // namespace
} // namespace zm
