#include "tools/analytics-service/AnalyticsService.h"

#include "platform/core/Digest.h"
#include "platform/core/Encoding.h"
#include "platform/core/Json.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

constexpr const char* kAccount = "zembrixgames";
constexpr const char* kSecret = "Ab3dE6gH";

class AnalyticsServiceTest : public ::testing::Test {
protected:
    // The answer to a signed request of `endpoint` with `query` ("&k=...").
    AnalyticsService::Answer ask(const std::string& endpoint, const std::string& query) {
        const std::string signedText = std::string("?a=") + kAccount + query;
        return service.handle("/api/v1/" + endpoint + signedText + "&h=" + core::sha1Hex(kSecret + signedText));
    }
    size_t listed(const char* part) { return store->listing().find(part)->asArray()->size(); }

    std::unique_ptr<ServiceStore> store = std::move(ServiceStore::open(":memory:").value());
    AnalyticsService service{*store, {{kAccount, kSecret}}};
};

TEST_F(AnalyticsServiceTest, ARecordSentAgainIsAnsweredAsTheFirstTimeAndHeldOnce) {
    const std::string device = "&k=TMID&u=D1";
    const auto first = ask("start", device + "&s=S1&cr=1");
    ASSERT_EQ(first.plist->find("status")->stringValue(), "ok");
    EXPECT_TRUE(first.plist->find("first_time")->boolValue());
    const auto again = ask("start", device + "&s=S1&cr=1");
    EXPECT_EQ(again.plist->find("result")->stringValue(), first.plist->find("result")->stringValue());
    EXPECT_TRUE(again.plist->find("first_time")->boolValue()) << "answered as the first time";
    EXPECT_FALSE(ask("start", device + "&s=S2&cr=0").plist->find("first_time")->boolValue());
    EXPECT_EQ(listed("sessions"), 2u);

    // The same event twice, then one differing only in its arguments and one only in its time.
    for (const char* event : {"&n=newUser&e=%7B%7D&s=S1&t=0.25&lag=0.10", "&n=newUser&e=%7B%7D&s=S1&t=0.25&lag=9.50",
                              "&n=newUser&e=%7B%22a%22%3A1%7D&s=S1&t=0.25", "&n=newUser&e=%7B%7D&s=S1&t=0.26"})
        EXPECT_EQ(ask("event", device + event).plist->find("status")->stringValue(), "ok");
    EXPECT_EQ(listed("events"), 3u);

    // A batch sent again adds nothing; one that shares an entry adds only the other.
    const auto batch = [](std::initializer_list<double> times) {
        core::Array entries;
        for (double time : times)
            entries.push_back(core::Dictionary{{"s", "S1"}, {"n", "level"}, {"e", "%7B%7D"}, {"t", time}, {"lag", 1.0}});
        return "&n=__batchevent__&s=S1&e=" + core::percentEscape(core::toJson(core::Dictionary{{"events", entries}}));
    };
    for (const auto& times : {std::initializer_list<double>{1.7e9 + 0.125, 1.7e9 + 0.5},
                              std::initializer_list<double>{1.7e9 + 0.125, 1.7e9 + 0.5},
                              std::initializer_list<double>{1.7e9 + 0.5, 1.7e9 + 0.75}})
        EXPECT_EQ(ask("event", device + batch(times)).plist->find("status")->stringValue(), "ok");
    EXPECT_EQ(listed("events"), 6u);
}

} // namespace
} // namespace zm
